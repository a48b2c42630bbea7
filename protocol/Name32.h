#pragma once

// 32-character name fields (preset IR names, IR list names, the serial number): plain
// ASCII, padded with spaces on the right.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "protocol/DeviceMessages.h"

namespace qd3 {

// True when all 32 bytes are spaces: the pedal's empty name.
bool IsBlankName32(std::span<const uint8_t, kNameSize> field);

// The name for display. A blank field gives "". Otherwise trailing spaces are cut by
// scanning from the last position down to the second for the first non-space; the first
// character is kept as it is, so "A" followed by 31 spaces gives "A".
std::string TrimName32(std::span<const uint8_t, kNameSize> field);

// Writes `name` into the field: at most 32 characters, the rest spaces. A character
// outside 7-bit ASCII would break the SysEx framing and is written as '?'.
void WriteName32(std::string_view name, std::span<uint8_t, kNameSize> field);

}  // namespace qd3
