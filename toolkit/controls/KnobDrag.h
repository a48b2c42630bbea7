#pragma once

#include "toolkit/Events.h"

namespace qd3 {

// Vertical dragging shared by the knobs: a drag over `extent` units times the
// gearing sweeps the whole range (upwards increases); shift or control makes it
// ten times finer. A wheel notch moves by 1/100 (1/1000 fine).
struct KnobDrag {
  double gearing = 4.0;

  double Dragged(double value, float dY, float extent, const IMouseMod& mod) const;
  double Wheeled(double value, float delta, const IMouseMod& mod) const;
};

}  // namespace qd3
