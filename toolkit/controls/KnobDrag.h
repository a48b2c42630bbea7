#pragma once

#include "toolkit/Events.h"

namespace qd3 {

// The value arithmetic shared by the knobs and sliders.
// Drag: a vertical drag over `extent` units times the gearing sweeps the whole
// range (upwards increases); shift or control makes it ten times finer.
// Wheel: one notch moves one raw step of a stepped parameter (`stepNormalized`,
// from the editor), snapped to the step grid; a stepped parameter has nothing
// finer, so shift changes nothing there. A continuous parameter (step 0) moves
// 1/100 of its range per notch, 1/1000 with shift.
struct KnobDrag {
  static constexpr double kContinuousWheelStep = 0.01;
  static constexpr double kFineFactor = 10.0;

  double gearing = 4.0;

  double Dragged(double value, float dY, float extent, const IMouseMod& mod) const;
  static double Wheeled(double value, float delta, const IMouseMod& mod,
                        double stepNormalized = 0.0);
};

}  // namespace qd3
