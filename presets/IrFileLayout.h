#pragma once

// Layout of an IR cache file: one IR image of exactly 2436 bytes, multi-byte fields
// little-endian.
//
//   0..1     format word, signed 16-bit, always 1
//   2..3     IR gain, signed 16-bit Q15 (value / 32768)
//   4..35    IR name, ASCII, space padded, no terminator
//   36..2435 1200 samples, signed 16-bit Q15 each, 44100 Hz

#include <cstddef>

#include "protocol/DeviceMessages.h"

namespace qd3 {

inline constexpr std::size_t kIrFileFormatOffset = 0;
inline constexpr std::size_t kIrFileGainOffset = 2;
inline constexpr std::size_t kIrFileNameOffset = 4;
inline constexpr std::size_t kIrFileSamplesOffset = 36;
inline constexpr std::size_t kIrFileSampleCount = 1200;
inline constexpr std::size_t kIrFileSampleWidth = 2;
inline constexpr std::size_t kIrFileSize = 2436;

static_assert(kIrFileSamplesOffset == kIrFileNameOffset + kNameSize);
static_assert(kIrFileSize == kIrFileSamplesOffset + kIrFileSampleCount * kIrFileSampleWidth);

}  // namespace qd3
