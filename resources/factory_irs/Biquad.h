#pragma once

// Second-order IIR sections for shaping the factory cabinet responses. Coefficients
// follow the usual bilinear-transform designs (cookbook forms): the analogue prototype's
// corner or centre frequency is pre-warped, so the digital curve has its corner exactly
// at the stated frequency.

#include <span>

namespace qd3::factory_irs {

class Biquad {
 public:
  // 12 dB/octave high-pass with corner `hz`; q 0.707 is maximally flat.
  static Biquad HighPass(double sampleRate, double hz, double q);
  // 12 dB/octave low-pass with corner `hz`.
  static Biquad LowPass(double sampleRate, double hz, double q);
  // Bell around `hz`: +gainDb (peak) or -gainDb (notch) at the centre, 0 dB far away;
  // q = centre / bandwidth.
  static Biquad Peaking(double sampleRate, double hz, double q, double gainDb);

  // Filters `samples` in place, starting from rest (transposed direct form II).
  void Process(std::span<double> samples) const;

 private:
  // Normalised so that a0 = 1.
  double mB0 = 1.0;
  double mB1 = 0.0;
  double mB2 = 0.0;
  double mA1 = 0.0;
  double mA2 = 0.0;
};

}  // namespace qd3::factory_irs
