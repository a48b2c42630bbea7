#pragma once

#include <algorithm>

#include "toolkit/api/IColor.h"

namespace qd3 {

inline constexpr IColor kColorBlack{255, 0, 0, 0};
inline constexpr IColor kColorWhite{255, 255, 255, 255};
inline constexpr IColor kColorTransparent{0, 0, 0, 0};
inline constexpr IColor kColorGrid{255, 120, 120, 120};

inline IColor WithOpacity(const IColor& c, float alpha) {
  return {std::clamp(static_cast<int>(c.A * alpha + 0.5f), 0, 255), c.R, c.G, c.B};
}

inline bool IsTransparent(const IColor& c) {
  return c.A == 0;
}

}  // namespace qd3
