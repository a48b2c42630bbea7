#include "toolkit/controls/KnobDrag.h"

#include <algorithm>
#include <cmath>

namespace qd3 {

double KnobDrag::Dragged(double value, float dY, float extent, const IMouseMod& mod) const {
  if (extent <= 0.f) return value;
  const double g = mod.IsFine() ? gearing * kFineFactor : gearing;
  return std::clamp(value - dY / (extent * g), 0.0, 1.0);
}

double KnobDrag::Wheeled(double value, float delta, const IMouseMod& mod, double stepNormalized) {
  if (delta == 0.f) return value;
  if (stepNormalized > 0.0) {
    // From the step the value lies on (a drag may have left it between two), so
    // that every notch lands exactly on the next raw value.
    const double notches = delta > 0.f ? std::ceil(delta) : std::floor(delta);
    const double onGrid = std::round(value / stepNormalized) * stepNormalized;
    return std::clamp(onGrid + notches * stepNormalized, 0.0, 1.0);
  }
  const double step = mod.IsFine() ? kContinuousWheelStep / kFineFactor : kContinuousWheelStep;
  return std::clamp(value + delta * step, 0.0, 1.0);
}

}  // namespace qd3
