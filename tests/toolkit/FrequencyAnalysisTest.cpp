// Window tables, the transform and the interpolation under the frequency graph.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>

#include "toolkit/graphs/FrequencyAnalysis.h"

namespace qd3::test {
namespace {

struct WindowCase {
  int kind;
  double atQuarter;  // n = 1 of N = 5 (M = 4)
  double atMiddle;   // n = 2
};

class WindowTableTest : public ::testing::TestWithParam<WindowCase> {};

TEST_P(WindowTableTest, HoldsTheSquaredWindow) {
  const WindowCase p = GetParam();
  const auto w = spectrum::MakeWindow(p.kind, 5);
  ASSERT_EQ(w.size(), 5u);
  EXPECT_NEAR(w[1], p.atQuarter, 1e-6);
  EXPECT_NEAR(w[2], p.atMiddle, 1e-6);
}

// Values worked out by hand: e.g. Hamming at n = 1 is 0.54 - 0.46 cos(pi / 2) =
// 0.54, squared 0.2916; Blackman-Harris is taken at n + 0.5.
INSTANTIATE_TEST_SUITE_P(Kinds, WindowTableTest,
                         ::testing::Values(WindowCase{0, 1.0, 1.0}, WindowCase{1, 0.1156, 1.0},
                                           WindowCase{2, 0.4840878, 0.4840878},
                                           WindowCase{3, 0.2916, 1.0}, WindowCase{4, 0.25, 1.0},
                                           WindowCase{5, 0.5, 1.0}, WindowCase{6, 0.125, 1.0},
                                           WindowCase{7, 0.0625, 1.0}));

TEST(WindowTable, EndsOfTheTaperedWindows) {
  EXPECT_NEAR(spectrum::MakeWindow(1, 4096)[0], 0.0, 1e-12);
  EXPECT_NEAR(spectrum::MakeWindow(3, 4096)[0], 0.0064, 1e-12);
  EXPECT_NEAR(spectrum::MakeWindow(4, 4096)[4095], 0.0, 1e-12);
  const auto hamming = spectrum::MakeWindow(3, 4096);
  EXPECT_NEAR(hamming[100], hamming[4095 - 100], 1e-12) << "symmetric";
}

TEST(FFT, MatchesADirectTransform) {
  constexpr size_t kN = 64;
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> x(kN);
  for (auto& v : x) v = dist(rng);
  std::vector<double> re = x;
  std::vector<double> im(kN, 0.0);
  spectrum::FFT(re, im);
  for (size_t k = 0; k < kN; ++k) {
    std::complex<double> sum = 0.0;
    for (size_t t = 0; t < kN; ++t) {
      sum += x[t] * std::polar(1.0, -2.0 * std::numbers::pi * double(k * t) / double(kN));
    }
    EXPECT_NEAR(re[k], sum.real(), 1e-9) << "bin " << k;
    EXPECT_NEAR(im[k], sum.imag(), 1e-9) << "bin " << k;
  }
}

TEST(FFT, ImpulseIsFlat) {
  std::vector<double> re(4096, 0.0);
  std::vector<double> im(4096, 0.0);
  re[0] = 1.0;
  spectrum::FFT(re, im);
  for (size_t k = 0; k < 2048; ++k) ASSERT_NEAR(std::hypot(re[k], im[k]), 1.0, 1e-12);
}

TEST(CatmullRom, PassesThroughItsInnerPoints) {
  EXPECT_DOUBLE_EQ(spectrum::CatmullRom(3, 5, 11, -2, 0.0), 5.0);
  EXPECT_NEAR(spectrum::CatmullRom(3, 5, 11, -2, 1.0), 11.0, 1e-12);
  // On a straight line it is the straight line.
  EXPECT_NEAR(spectrum::CatmullRom(1, 2, 3, 4, 0.25), 2.25, 1e-12);
}

TEST(CatmullRom, InterpolateAtReadsFromTheFloorButNotBelowOne) {
  const std::vector<double> line = {0, 10, 20, 30, 40, 50};
  EXPECT_NEAR(spectrum::InterpolateAt(line, 2.5), 25.0, 1e-12);
  // t = 0.5: i = 0, p = 1, u = 0.5: interpolates between line[1] and line[2].
  EXPECT_NEAR(spectrum::InterpolateAt(line, 0.5), 15.0, 1e-12);
  // Past the end the missing points count as 0.
  EXPECT_TRUE(std::isfinite(spectrum::InterpolateAt(line, 5.5)));
}

}  // namespace
}  // namespace qd3::test
