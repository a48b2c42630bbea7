#include "toolkit/controls/IVNumberBoxControl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "toolkit/IGraphics.h"
#include "toolkit/controls/VectorLayout.h"

namespace qd3 {

IVNumberBoxControl::IVNumberBoxControl(const IRECT& bounds, int param, IActionFunction fn,
                                       std::string text, const IVStyle& vstyle, double lo,
                                       double hi, std::string fmt, double stepSize)
    : IControl(bounds, param, std::move(fn)),
      mLabel(std::move(text)),
      mStyle(vstyle.WithShowValue(false)),
      mInValue(lo),
      mAxValue(hi),
      mFormat(std::move(fmt)),
      mStep(stepSize > 0.0 ? stepSize : 1.0) {
  mParamTooltip = true;
}

IRECT IVNumberBoxControl::BoxRECT() const {
  return VectorLayout::Make(mRect, mStyle, mLabel).widget;
}

double IVNumberBoxControl::RealValue() const {
  return mInValue + mValue * (mAxValue - mInValue);
}

void IVNumberBoxControl::SetRealValueFromUser(double real) {
  real = std::clamp(std::round((real - mInValue) / mStep) * mStep + mInValue, mInValue, mAxValue);
  const double span = mAxValue - mInValue;
  SetValueFromUserInput(span > 0.0 ? (real - mInValue) / span : 0.0);
}

std::string IVNumberBoxControl::GetStr() const {
  char buf[64];
  std::snprintf(buf, sizeof buf, mFormat.c_str(), RealValue());
  return buf;
}

void IVNumberBoxControl::Draw(IDrawContext& g) {
  const VectorLayout layout = VectorLayout::Make(mRect, mStyle, mLabel);
  const IRECT box = layout.widget;
  const float radius = CornerRadius(mStyle, box);
  g.FillRoundRect(mStyle.Color(kFG), box, radius);
  if (mStyle.drawFrame) g.DrawRoundRect(mStyle.Color(kFR), box, radius, mStyle.frameThickness);
  g.DrawText(mStyle.valueText, GetStr(), box);
  if (mStyle.showLabel && !mLabel.empty()) g.DrawText(mStyle.labelText, mLabel, layout.label);
}

void IVNumberBoxControl::OnMouseDown(float, float, const IMouseMod&) {
  mDragAccumulator = 0.f;
}

void IVNumberBoxControl::OnMouseDrag(float, float, float, float dY, const IMouseMod& mod) {
  mDragAccumulator -= dY;
  const float perStep = mod.IsFine() ? kUnitsPerStep * 4.f : kUnitsPerStep;
  const int steps = static_cast<int>(mDragAccumulator / perStep);
  if (steps == 0) return;
  mDragAccumulator -= steps * perStep;
  SetRealValueFromUser(RealValue() + steps * mStep);
}

void IVNumberBoxControl::OnMouseDblClick(float, float, const IMouseMod&) {
  if (mUi)
    mUi->CreateTextEntry(*this, mStyle.valueText.WithFGColor(kColorBlack), BoxRECT(), GetStr());
}

void IVNumberBoxControl::OnMouseWheel(float, float, const IMouseMod&, float delta) {
  if (delta == 0.f) return;
  SetRealValueFromUser(RealValue() + (delta > 0.f ? mStep : -mStep));
}

void IVNumberBoxControl::OnTextEntryCompletion(const std::string& text) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end == text.c_str()) return;  // not a number: the value stays
  SetRealValueFromUser(v);
}

}  // namespace qd3
