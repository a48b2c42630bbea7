#include "toolkit/controls/IBSliderControl.h"

#include <algorithm>

namespace qd3 {

IBSliderControl::IBSliderControl(const IRECT& bounds, const IBitmap& handleBitmap,
                                 const IBitmap& trackBitmap, int param, double gear)
    : IControl(bounds, param), mHandle(handleBitmap), mTrack(trackBitmap), mGearing(gear) {
  mParamTooltip = true;
}

float IBSliderControl::Travel() const {
  return std::max(1.f, mRect.H() - mHandle.FH());
}

IRECT IBSliderControl::HandleRECT() const {
  const float top = mRect.T + static_cast<float>(1.0 - mValue) * Travel();
  const float left = mRect.MW() - mHandle.FW() / 2.f;
  return IRECT::MakeXYWH(left, top, mHandle.FW(), mHandle.FH());
}

void IBSliderControl::Draw(IDrawContext& g) {
  g.DrawBitmap(mTrack, mRect.L, mRect.T);
  const IRECT h = HandleRECT();
  g.DrawBitmap(mHandle, h.L, h.T);
}

void IBSliderControl::OnMouseDrag(float, float, float, float dY, const IMouseMod& mod) {
  const double g = mod.IsFine() ? mGearing * KnobDrag::kFineFactor : mGearing;
  SetValueFromUserInput(std::clamp(mValue - dY / (Travel() * g), 0.0, 1.0));
}

void IBSliderControl::OnMouseWheel(float, float, const IMouseMod& mod, float delta) {
  WheelFromUser(delta, mod);
}

void IBSliderControl::OnMouseDblClick(float, float, const IMouseMod&) {
  ResetToDefaultFromUser();
}

}  // namespace qd3
