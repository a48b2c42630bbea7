#include "controls/IBSliderControl.h"

#include <algorithm>

namespace qd3 {

IBSliderControl::IBSliderControl(const IRECT& bounds, const IBitmap& handleBitmap,
                                 const IBitmap& trackBitmap, int param, double gear)
    : IControl(bounds, param), handle(handleBitmap), track(trackBitmap), gearing(gear) {}

float IBSliderControl::Travel() const {
  return std::max(1.f, rect.H() - handle.FH());
}

IRECT IBSliderControl::HandleRECT() const {
  const float top = rect.T + static_cast<float>(1.0 - value) * Travel();
  const float left = rect.MW() - handle.FW() / 2.f;
  return IRECT::MakeXYWH(left, top, handle.FW(), handle.FH());
}

void IBSliderControl::Draw(IDrawContext& g) {
  g.DrawBitmap(track, rect.L, rect.T);
  const IRECT h = HandleRECT();
  g.DrawBitmap(handle, h.L, h.T);
}

void IBSliderControl::OnMouseDrag(float, float, float, float dY, const IMouseMod& mod) {
  const double g = mod.IsFine() ? gearing * 10.0 : gearing;
  SetValueFromUserInput(std::clamp(value - dY / (Travel() * g), 0.0, 1.0));
}

void IBSliderControl::OnMouseWheel(float, float, const IMouseMod& mod, float delta) {
  const double step = mod.IsFine() ? 0.001 : 0.01;
  SetValueFromUserInput(std::clamp(value + delta * step, 0.0, 1.0));
}

}  // namespace qd3
