#include "toolkit/controls/KnobDrag.h"

#include <algorithm>

namespace qd3 {

double KnobDrag::Dragged(double value, float dY, float extent, const IMouseMod& mod) const {
  if (extent <= 0.f) return value;
  const double g = mod.IsFine() ? gearing * 10.0 : gearing;
  return std::clamp(value - dY / (extent * g), 0.0, 1.0);
}

double KnobDrag::Wheeled(double value, float delta, const IMouseMod& mod) const {
  const double step = mod.IsFine() ? 0.001 : 0.01;
  return std::clamp(value + delta * step, 0.0, 1.0);
}

}  // namespace qd3
