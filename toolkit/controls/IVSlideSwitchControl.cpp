#include "toolkit/controls/IVSlideSwitchControl.h"

#include "toolkit/controls/VectorLayout.h"

namespace qd3 {

IVSlideSwitchControl::IVSlideSwitchControl(const IRECT& bounds, int param, std::string text,
                                           const IVStyle& vstyle)
    : IControl(bounds, param), mLabel(std::move(text)), mStyle(vstyle.WithShowValue(false)) {
  mRedrawOnHover = true;
}

IRECT IVSlideSwitchControl::HandleRECT() const {
  const IRECT w = VectorLayout::Make(mRect, mStyle, mLabel).widget;
  const float size = w.H();
  return IsOn() ? IRECT(w.R - size, w.T, w.R, w.B) : IRECT(w.L, w.T, w.L + size, w.B);
}

void IVSlideSwitchControl::Draw(IDrawContext& g) {
  const VectorLayout layout = VectorLayout::Make(mRect, mStyle, mLabel);
  const IRECT track = layout.widget;
  const float radius = CornerRadius(mStyle, track);
  g.FillRoundRect(IsOn() ? mStyle.Color(kX1) : mStyle.Color(kSH), track, radius);
  const IRECT handle = HandleRECT().GetPadded(-2.f);
  const float handleRadius = CornerRadius(mStyle, handle);
  g.FillRoundRect(mPressed ? mStyle.Color(kPR) : mStyle.Color(kFG), handle, handleRadius);
  if (mOuseIsOver) g.FillRoundRect(mStyle.Color(kHL), handle, handleRadius);
  if (mStyle.drawFrame) {
    g.DrawRoundRect(mStyle.Color(kFR), track, radius, mStyle.frameThickness);
    g.DrawRoundRect(mStyle.Color(kFR), handle, handleRadius, mStyle.frameThickness);
  }
  if (mStyle.showLabel && !mLabel.empty()) g.DrawText(mStyle.labelText, mLabel, layout.label);
}

void IVSlideSwitchControl::OnMouseDown(float, float, const IMouseMod&) {
  mPressed = true;
  SetValueFromUserInput(IsOn() ? 0.0 : 1.0);
}

void IVSlideSwitchControl::OnMouseUp(float, float, const IMouseMod&) {
  mPressed = false;
  SetDirty();
}

}  // namespace qd3
