#pragma once

// Texts and row kinds of the preset list and the two-digit preset display. Slots are
// 0..127 everywhere inside the editor; the user sees slot + offset, offset being the
// "PATCH OFFSET" setting (0 or 1), printed with at least two digits (so 100..128 show
// three).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "presets/PresetRecord.h"

namespace qd3 {

// The two looks of a list row: the current preset's and every other.
enum class PresetRowKind : uint8_t { kOther, kCurrent };

// A label from a current-preset dump is cut to this many characters.
inline constexpr std::size_t kCurrentPresetLabelMaxLength = 40;

// The list scroll parameter runs 0..109; it is set so that the current row is in view.
inline constexpr int kListScrollMax = 109;

// "%02d" of slot + offset, as the preset display shows it.
std::string SlotNumberText(int slot, int offset);

// " %02d ": the label of a slot whose record is unknown.
std::string EmptySlotLabel(int slot, int offset);

// " %02d " followed by the record's name as stored, trailing spaces kept; a NUL byte in
// the name ends it. The label that the cache build, the folder scan and the
// synchronisation give a row.
std::string CachedSlotLabel(int slot, int offset, const PresetRecord& record);

// " %02d %s" of (slot + offset, name), cut to 40 characters: the label a dump of the
// current preset gives its row.
std::string CurrentPresetLabel(int slot, int offset, std::string_view name);
// As above with the record's name up to its first NUL byte.
std::string CurrentPresetLabel(int slot, int offset, const PresetRecord& record);

PresetRowKind RowKindOf(bool isCurrentRow);

// Value of the list scroll parameter that brings `slot` into view: 109 - min(slot, 109).
int ListScrollForSlot(int slot);

}  // namespace qd3
