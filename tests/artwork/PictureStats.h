#pragma once

// Decoding of embedded PNG bytes and a few measures of their pixels for the tests.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qd3::art::test {

// Decoded pixels, row after row.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;  // premultiplied ARGB as Cairo stores it

  uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
  int Alpha(int x, int y) const { return static_cast<int>(At(x, y) >> 24); }
};

// Empty image (width 0) when the bytes are no PNG.
Image DecodePng(std::span<const unsigned char> bytes);

// Measures over the rows [y0, y1).
struct Stats {
  size_t distinctColors = 0;
  double meanLuminance = 0;  // 0..255, premultiplied, i.e. over black
  double minLuminance = 0;
  double maxLuminance = 0;
};
Stats Measure(const Image& image, int y0, int y1);

// Sum of absolute channel differences between rows [a0, a0 + h) and [b0, b0 + h).
uint64_t Difference(const Image& image, int a0, int b0, int h);

}  // namespace qd3::art::test
