#pragma once

// The record that "store current preset" sends, built from what the editor shows and
// holds: the name entry text, the 65 live values and the texts of the two user-IR
// position labels.

#include <span>
#include <string_view>

#include "presets/PresetRecord.h"
#include "protocol/DeviceMessages.h"

namespace qd3 {

// Format 1.0; the first 32 characters of `nameText` in a space-filled name field; byte
// 34 + i = low byte of liveValues[i]; the unused bytes 0. Each user-IR name field is 32
// spaces unless that position's "IR Mode" (liveValues[40] for position 7, [41] for 8) is
// above 0, in which case it holds the first 32 characters of the position's label text.
// Characters outside 7-bit ASCII become '?' so that the record stays sendable.
PresetRecord BuildStoreRecord(std::string_view nameText,
                              std::span<const int, kRecordParamCount> liveValues,
                              std::string_view position7Label, std::string_view position8Label);

// The whole 267-byte kCmdStorePreset message for `slot` carrying `record`.
Bytes BuildStorePresetMessage(int slot, const PresetRecord& record);

}  // namespace qd3
