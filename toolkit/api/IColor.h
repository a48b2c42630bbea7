#pragma once

#include <cstdint>

namespace qd3 {

// 8-bit colour with alpha first, as colours are written throughout the editor.
struct IColor {
  int A = 255;
  int R = 0;
  int G = 0;
  int B = 0;

  friend bool operator==(const IColor&, const IColor&) = default;
};

// A colour written as one 0xAARRGGBB number, as the editor's fixed colours are.
constexpr IColor IColorFromArgb(uint32_t argb) {
  return {static_cast<int>(argb >> 24 & 0xFF), static_cast<int>(argb >> 16 & 0xFF),
          static_cast<int>(argb >> 8 & 0xFF), static_cast<int>(argb & 0xFF)};
}

}  // namespace qd3
