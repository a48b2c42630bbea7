#pragma once

#include <array>

#include "toolkit/IControl.h"

namespace qd3 {

// The static input/output curve of the gate and the compressor/expander. Level in
// dB runs linearly from -100 at the left (input) and bottom (output) to 0 at the
// right and top. t1 (gate) and t2 (compressor/expander) are knee positions 0..1
// along the diagonal, always t1 <= t2; r1 shapes the line below the first knee,
// r2 is the ratio above the second.
class IDynamicsResponseGraph : public IControl {
 public:
  static constexpr int kNumGridLines = 6;
  static constexpr std::array<double, kNumGridLines> kGridLevels = {-80, -60, -40, -30, -20, -12};
  static constexpr std::array<double, kNumGridLines> kGridFractions = {0.8, 0.6, 0.4,
                                                                       0.3, 0.2, 0.12};

  IDynamicsResponseGraph(const IRECT& bounds, const IColor& curveColor);

  // Each of these requests a redraw.
  virtual void SetGateThreshold(double db);  // t1 = 1 - |db / 100|; t2 follows up
  virtual void SetCompThreshold(double db);  // t2 = 1 - |db / 100|; t1 follows down
  virtual void SetGateRatio(double r);       // r1
  virtual void SetCompRatio(double r);       // r2

  double T1() const { return mT1; }
  double T2() const { return mT2; }
  double R1() const { return mR1; }
  double R2() const { return mR2; }

  struct Point {
    double x;
    double y;
  };
  // The curve's four points: start on the bottom edge, the two knees, the end.
  std::array<Point, 4> CurvePoints() const;

  void Draw(IDrawContext& g) override;
  IRECT GetDrawRECT() const override;

 private:
  IColor mCurveColor;
  int mW;
  int mH;
  double mT1 = 0.0;
  double mT2 = 0.0;
  double mR1 = 1.0;
  double mR2 = 1.0;
  // The top labels' widths at mTopWidthsScale (0: not measured yet).
  std::array<float, kNumGridLines> mTopWidths{};
  float mTopWidthsScale = 0.f;
};

}  // namespace qd3
