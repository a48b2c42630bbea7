#include "toolkit/controls/IVKnobControl.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "toolkit/controls/VectorLayout.h"

namespace qd3 {

IVKnobControl::IVKnobControl(const IRECT& bounds, int param, std::string text,
                             const IVStyle& vstyle, float aMin, float aMax, float arcThickness,
                             double gearing)
    : IControl(bounds, param),
      mLabel(std::move(text)),
      mStyle(vstyle),
      mInAngle(aMin),
      mAxAngle(aMax),
      mThickness(arcThickness),
      mDrag{gearing} {
  mRedrawOnHover = true;
  mParamTooltip = true;
}

float IVKnobControl::Angle() const {
  return mInAngle + static_cast<float>(mValue) * (mAxAngle - mInAngle);
}

void IVKnobControl::ArcGeometry(float& cx, float& cy, float& radius) const {
  const IRECT w = VectorLayout::Make(mRect, mStyle, mLabel).widget;
  cx = w.MW();
  cy = w.MH();
  radius = std::max(1.f, std::min(w.W(), w.H()) / 2.f - mThickness / 2.f - 1.f);
}

void IVKnobControl::Draw(IDrawContext& g) {
  const VectorLayout layout = VectorLayout::Make(mRect, mStyle, mLabel);
  g.FillRect(mStyle.Color(kBG), mRect);
  float cx = 0.f;
  float cy = 0.f;
  float r = 0.f;
  ArcGeometry(cx, cy, r);
  const float angle = Angle();
  g.DrawArc(mStyle.Color(kSH), cx, cy, r, mInAngle, mAxAngle, mThickness);
  g.DrawArc(mStyle.Color(kX1), cx, cy, r, mInAngle, angle, mThickness);

  const float bodyR = std::max(1.f, r - mThickness / 2.f - 3.f);
  g.FillCircle(mStyle.Color(kFG), cx, cy, bodyR);
  if (mOuseIsOver) g.FillCircle(mStyle.Color(kHL), cx, cy, bodyR);
  if (mStyle.drawFrame) g.DrawCircle(mStyle.Color(kFR), cx, cy, bodyR, mStyle.frameThickness);
  const double rad = (angle - 90.0) * std::numbers::pi / 180.0;
  const auto px = static_cast<float>(std::cos(rad));
  const auto py = static_cast<float>(std::sin(rad));
  // A tick at the rim: the read-out drawn in the middle of the knob stays uncrossed.
  constexpr float kPointerInner = 0.78f;
  g.DrawLine(mPressed ? mStyle.Color(kPR) : mStyle.Color(kFR), cx + px * bodyR * kPointerInner,
             cy + py * bodyR * kPointerInner, cx + px * bodyR, cy + py * bodyR, 3.f);

  if (mStyle.showLabel && !mLabel.empty()) g.DrawText(mStyle.labelText, mLabel, layout.label);
  if (mStyle.showValue) {
    std::string text = GetParamDisplayText();
    if (text.empty()) text = std::to_string(static_cast<int>(std::lround(mValue * 100.0))) + " %";
    g.DrawText(mStyle.valueText, text, layout.valueText);
  }
}

void IVKnobControl::OnMouseDown(float, float, const IMouseMod&) {
  mPressed = true;
  SetDirty();
}

void IVKnobControl::OnMouseUp(float, float, const IMouseMod&) {
  mPressed = false;
  SetDirty();
}

void IVKnobControl::OnMouseDrag(float, float, float, float dY, const IMouseMod& mod) {
  const IRECT w = VectorLayout::Make(mRect, mStyle, mLabel).widget;
  SetValueFromUserInput(mDrag.Dragged(mValue, dY, w.H(), mod));
}

void IVKnobControl::OnMouseWheel(float, float, const IMouseMod& mod, float delta) {
  WheelFromUser(delta, mod);
}

void IVKnobControl::OnMouseDblClick(float, float, const IMouseMod&) {
  ResetToDefaultFromUser();
}

}  // namespace qd3
