#include "resources/factory_irs/Biquad.h"

#include <cmath>
#include <numbers>

namespace qd3::factory_irs {
namespace {

// Pre-warped angular frequency and the bandwidth term of the cookbook designs.
struct Warp {
  double cosW;
  double alpha;
};

Warp WarpOf(double sampleRate, double hz, double q) {
  const double w = 2.0 * std::numbers::pi * hz / sampleRate;
  return {std::cos(w), std::sin(w) / (2.0 * q)};
}

}  // namespace

Biquad Biquad::HighPass(double sampleRate, double hz, double q) {
  const Warp p = WarpOf(sampleRate, hz, q);
  const double a0 = 1.0 + p.alpha;
  Biquad f;
  f.mB0 = (1.0 + p.cosW) / 2.0 / a0;
  f.mB1 = -(1.0 + p.cosW) / a0;
  f.mB2 = f.mB0;
  f.mA1 = -2.0 * p.cosW / a0;
  f.mA2 = (1.0 - p.alpha) / a0;
  return f;
}

Biquad Biquad::LowPass(double sampleRate, double hz, double q) {
  const Warp p = WarpOf(sampleRate, hz, q);
  const double a0 = 1.0 + p.alpha;
  Biquad f;
  f.mB0 = (1.0 - p.cosW) / 2.0 / a0;
  f.mB1 = (1.0 - p.cosW) / a0;
  f.mB2 = f.mB0;
  f.mA1 = -2.0 * p.cosW / a0;
  f.mA2 = (1.0 - p.alpha) / a0;
  return f;
}

Biquad Biquad::Peaking(double sampleRate, double hz, double q, double gainDb) {
  const Warp p = WarpOf(sampleRate, hz, q);
  const double a = std::pow(10.0, gainDb / 40.0);  // square root of the linear gain
  const double a0 = 1.0 + p.alpha / a;
  Biquad f;
  f.mB0 = (1.0 + p.alpha * a) / a0;
  f.mB1 = -2.0 * p.cosW / a0;
  f.mB2 = (1.0 - p.alpha * a) / a0;
  f.mA1 = f.mB1;
  f.mA2 = (1.0 - p.alpha / a) / a0;
  return f;
}

void Biquad::Process(std::span<double> samples) const {
  double s1 = 0.0;
  double s2 = 0.0;
  for (double& x : samples) {
    const double y = mB0 * x + s1;
    s1 = mB1 * x - mA1 * y + s2;
    s2 = mB2 * x - mA2 * y;
    x = y;
  }
}

}  // namespace qd3::factory_irs
