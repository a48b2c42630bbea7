#include "toolkit/graphs/FrequencyAnalysis.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>
#include <utility>

namespace qd3::spectrum {

std::vector<double> MakeWindow(int kind, int n) {
  std::vector<double> w(static_cast<size_t>(n), 1.0);
  if (kind <= 0 || kind >= kNumWindowKinds || n < 2) return w;
  const double pi = std::numbers::pi;
  const double m = n - 1;
  for (int i = 0; i < n; ++i) {
    double v = 1.0;
    switch (kind) {
      case 1:
        v = 0.42 - 0.5 * std::cos(2 * pi * i / m) + 0.08 * std::cos(4 * pi * i / m);
        break;
      case 2: {
        const double k = i + 0.5;
        v = 0.35875 - 0.48829 * std::cos(2 * pi * k / m) + 0.14128 * std::cos(4 * pi * k / m) -
            0.01168 * std::cos(6 * pi * k / m);
        break;
      }
      case 3:
        v = 0.54 - 0.46 * std::cos(2 * pi * i / m);
        break;
      case 4:
        v = (1 - std::cos(2 * pi * i / m)) / 2;
        break;
      case 5:
        v = std::sin(pi * i / m);
        break;
      case 6:
        v = std::pow(std::sin(pi * i / m), 3);
        break;
      case 7:
        v = std::pow((1 - std::cos(2 * pi * i / m)) / 2, 2);
        break;
      default:
        break;
    }
    w[static_cast<size_t>(i)] = v * v;
  }
  return w;
}

void FFT(std::vector<double>& re, std::vector<double>& im) {
  const size_t n = re.size();
  assert(im.size() == n && (n & (n - 1)) == 0);
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) {
      std::swap(re[i], re[j]);
      std::swap(im[i], im[j]);
    }
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    const double angle = -2 * std::numbers::pi / static_cast<double>(len);
    const double stepRe = std::cos(angle);
    const double stepIm = std::sin(angle);
    const size_t half = len / 2;
    for (size_t start = 0; start < n; start += len) {
      double wRe = 1.0;
      double wIm = 0.0;
      for (size_t k = 0; k < half; ++k) {
        const size_t a = start + k;
        const size_t b = a + half;
        const double tRe = re[b] * wRe - im[b] * wIm;
        const double tIm = re[b] * wIm + im[b] * wRe;
        re[b] = re[a] - tRe;
        im[b] = im[a] - tIm;
        re[a] += tRe;
        im[a] += tIm;
        const double nextRe = wRe * stepRe - wIm * stepIm;
        wIm = wRe * stepIm + wIm * stepRe;
        wRe = nextRe;
      }
    }
  }
}

double InterpolateAt(const std::vector<double>& data, double t) {
  const auto i = static_cast<long>(std::floor(t));
  const long p = std::max(i, 1L);
  const double u = t - static_cast<double>(i);
  auto at = [&](long k) {
    return (k >= 0 && k < static_cast<long>(data.size())) ? data[static_cast<size_t>(k)] : 0.0;
  };
  return CatmullRom(at(p - 1), at(p), at(p + 1), at(p + 2), u);
}

}  // namespace qd3::spectrum
