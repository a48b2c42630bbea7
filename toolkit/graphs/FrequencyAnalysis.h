#pragma once

#include <vector>

namespace qd3::spectrum {

// Window kinds of the frequency graph: 0 rectangular, then the square of
// 1 Blackman, 2 Blackman-Harris (taken at n + 0.5), 3 Hamming, 4 Hann, 5 sine,
// 6 sine cubed, 7 Hann squared. M = n - 1 in the formulas.
inline constexpr int kNumWindowKinds = 8;
std::vector<double> MakeWindow(int kind, int n);

// In-place radix-2 transform of n = re.size() complex values (a power of two):
// bit-reversal reordering, then butterflies with the e^(-i 2 pi k / n) kernel.
void FFT(std::vector<double>& re, std::vector<double>& im);

// Catmull-Rom interpolation between a and w at u in 0..1, with b before a and c
// after w.
inline double CatmullRom(double b, double a, double w, double c, double u) {
  return a + u * ((w - b) / 2 + u * (w * 2 + b - (a * 5 + c) / 2 + u * ((a - w) * 3 - b + c) / 2));
}

// `data` read at fractional position t: i = floor(t), p = max(i, 1), u = t - i,
// interpolated through data[p-1 .. p+2]. Reads past the end give 0.
double InterpolateAt(const std::vector<double>& data, double t);

}  // namespace qd3::spectrum
