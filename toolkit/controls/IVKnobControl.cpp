#include "controls/IVKnobControl.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "controls/VectorLayout.h"

namespace qd3 {

IVKnobControl::IVKnobControl(const IRECT& bounds, int param, std::string text,
                             const IVStyle& vstyle, float aMin, float aMax, float arcThickness,
                             double gearing)
    : IControl(bounds, param),
      label(std::move(text)),
      style(vstyle),
      minAngle(aMin),
      maxAngle(aMax),
      thickness(arcThickness),
      drag{gearing} {
  redrawOnHover = true;
}

float IVKnobControl::Angle() const {
  return minAngle + static_cast<float>(value) * (maxAngle - minAngle);
}

void IVKnobControl::ArcGeometry(float& cx, float& cy, float& radius) const {
  const IRECT w = VectorLayout::Make(rect, style, label).widget;
  cx = w.MW();
  cy = w.MH();
  radius = std::max(1.f, std::min(w.W(), w.H()) / 2.f - thickness / 2.f - 1.f);
}

void IVKnobControl::Draw(IDrawContext& g) {
  const VectorLayout layout = VectorLayout::Make(rect, style, label);
  g.FillRect(style.Color(kBG), rect);
  float cx = 0.f;
  float cy = 0.f;
  float r = 0.f;
  ArcGeometry(cx, cy, r);
  const float angle = Angle();
  g.DrawArc(style.Color(kSH), cx, cy, r, minAngle, maxAngle, thickness);
  g.DrawArc(style.Color(kX1), cx, cy, r, minAngle, angle, thickness);

  const float bodyR = std::max(1.f, r - thickness / 2.f - 3.f);
  g.FillCircle(style.Color(kFG), cx, cy, bodyR);
  if (mouseIsOver) g.FillCircle(style.Color(kHL), cx, cy, bodyR);
  if (style.drawFrame) g.DrawCircle(style.Color(kFR), cx, cy, bodyR, style.frameThickness);
  const double rad = (angle - 90.0) * std::numbers::pi / 180.0;
  const auto px = static_cast<float>(std::cos(rad));
  const auto py = static_cast<float>(std::sin(rad));
  g.DrawLine(pressed ? style.Color(kPR) : style.Color(kFR), cx + px * bodyR * 0.3f,
             cy + py * bodyR * 0.3f, cx + px * bodyR, cy + py * bodyR, 3.f);

  if (style.showLabel && !label.empty()) g.DrawText(style.labelText, label, layout.label);
  if (style.showValue) {
    std::string text = GetParamDisplayText();
    if (text.empty()) text = std::to_string(static_cast<int>(std::lround(value * 100.0))) + " %";
    g.DrawText(style.valueText, text, layout.valueText);
  }
}

void IVKnobControl::OnMouseDown(float, float, const IMouseMod&) {
  pressed = true;
  SetDirty();
}

void IVKnobControl::OnMouseUp(float, float, const IMouseMod&) {
  pressed = false;
  SetDirty();
}

void IVKnobControl::OnMouseDrag(float, float, float, float dY, const IMouseMod& mod) {
  const IRECT w = VectorLayout::Make(rect, style, label).widget;
  SetValueFromUserInput(drag.Dragged(value, dY, w.H(), mod));
}

void IVKnobControl::OnMouseWheel(float, float, const IMouseMod& mod, float delta) {
  SetValueFromUserInput(drag.Wheeled(value, delta, mod));
}

}  // namespace qd3
