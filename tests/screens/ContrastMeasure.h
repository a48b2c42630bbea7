#pragma once

// The contrast ratio of WCAG 2 measured on the rendered canvas.

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

#include "tests/screens/ScreenTestSupport.h"

namespace qd3::test {

// Relative luminance of an sRGB colour, as the contrast ratio of WCAG 2 defines it.
inline double Luminance(const IColor& c) {
  const auto linear = [](int v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.R) + 0.7152 * linear(c.G) + 0.0722 * linear(c.B);
}

inline double Contrast(const IColor& a, const IColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A text's contrast from the pixels of its rectangle, one per device pixel: the
// background is the most common colour, the text the pixel that differs most from it.
// Zero when the rectangle holds one colour only (no text drawn).
inline double TextContrast(BuiltScreen& s, const IRECT& r, float scale) {
  s.host.Frame();
  std::map<std::tuple<int, int, int>, int> counts;
  std::vector<IColor> pixels;
  const float step = 1.f / scale;
  for (float y = r.T; y < r.B; y += step) {
    for (float x = r.L; x < r.R; x += step) {
      const IColor c = s.host.ProbeDesign(x, y);
      pixels.push_back(c);
      ++counts[{c.R, c.G, c.B}];
    }
  }
  const auto mode =
      std::max_element(counts.begin(), counts.end(),
                       [](const auto& a, const auto& b) { return a.second < b.second; });
  const IColor background{255, std::get<0>(mode->first), std::get<1>(mode->first),
                          std::get<2>(mode->first)};
  double most = 0.0;
  for (const IColor& c : pixels) most = std::max(most, Contrast(c, background));
  return counts.size() > 1 ? most : 0.0;
}

}  // namespace qd3::test
