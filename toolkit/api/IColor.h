#pragma once

namespace qd3 {

// 8-bit colour with alpha first, as colours are written throughout the editor.
struct IColor {
  int A = 255;
  int R = 0;
  int G = 0;
  int B = 0;

  friend bool operator==(const IColor&, const IColor&) = default;
};

}  // namespace qd3
