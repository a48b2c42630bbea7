#include "controls/IVSlideSwitchControl.h"

#include "controls/VectorLayout.h"

namespace qd3 {

IVSlideSwitchControl::IVSlideSwitchControl(const IRECT& bounds, int param, std::string text,
                                           const IVStyle& vstyle)
    : IControl(bounds, param), label(std::move(text)), style(vstyle.WithShowValue(false)) {
  redrawOnHover = true;
}

IRECT IVSlideSwitchControl::HandleRECT() const {
  const IRECT w = VectorLayout::Make(rect, style, label).widget;
  const float size = w.H();
  return IsOn() ? IRECT(w.R - size, w.T, w.R, w.B) : IRECT(w.L, w.T, w.L + size, w.B);
}

void IVSlideSwitchControl::Draw(IDrawContext& g) {
  const VectorLayout layout = VectorLayout::Make(rect, style, label);
  const IRECT track = layout.widget;
  const float radius = CornerRadius(style, track);
  g.FillRoundRect(IsOn() ? style.Color(kX1) : style.Color(kSH), track, radius);
  const IRECT handle = HandleRECT().GetPadded(-2.f);
  const float handleRadius = CornerRadius(style, handle);
  g.FillRoundRect(pressed ? style.Color(kPR) : style.Color(kFG), handle, handleRadius);
  if (mouseIsOver) g.FillRoundRect(style.Color(kHL), handle, handleRadius);
  if (style.drawFrame) {
    g.DrawRoundRect(style.Color(kFR), track, radius, style.frameThickness);
    g.DrawRoundRect(style.Color(kFR), handle, handleRadius, style.frameThickness);
  }
  if (style.showLabel && !label.empty()) g.DrawText(style.labelText, label, layout.label);
}

void IVSlideSwitchControl::OnMouseDown(float, float, const IMouseMod&) {
  pressed = true;
  SetValueFromUserInput(IsOn() ? 0.0 : 1.0);
}

void IVSlideSwitchControl::OnMouseUp(float, float, const IMouseMod&) {
  pressed = false;
  SetDirty();
}

}  // namespace qd3
