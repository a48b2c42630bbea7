#include "controls/IVNumberBoxControl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "IGraphics.h"
#include "controls/VectorLayout.h"

namespace qd3 {

IVNumberBoxControl::IVNumberBoxControl(const IRECT& bounds, int param, IActionFunction fn,
                                       std::string text, const IVStyle& vstyle, double lo,
                                       double hi, std::string fmt, double stepSize)
    : IControl(bounds, param, std::move(fn)),
      label(std::move(text)),
      style(vstyle.WithShowValue(false)),
      minValue(lo),
      maxValue(hi),
      format(std::move(fmt)),
      step(stepSize > 0.0 ? stepSize : 1.0) {}

IRECT IVNumberBoxControl::BoxRECT() const {
  return VectorLayout::Make(rect, style, label).widget;
}

double IVNumberBoxControl::RealValue() const {
  return minValue + value * (maxValue - minValue);
}

void IVNumberBoxControl::SetRealValueFromUser(double real) {
  real = std::clamp(std::round((real - minValue) / step) * step + minValue, minValue, maxValue);
  const double span = maxValue - minValue;
  SetValueFromUserInput(span > 0.0 ? (real - minValue) / span : 0.0);
}

std::string IVNumberBoxControl::GetStr() const {
  char buf[64];
  std::snprintf(buf, sizeof buf, format.c_str(), RealValue());
  return buf;
}

void IVNumberBoxControl::Draw(IDrawContext& g) {
  const VectorLayout layout = VectorLayout::Make(rect, style, label);
  const IRECT box = layout.widget;
  const float radius = CornerRadius(style, box);
  g.FillRoundRect(style.Color(kFG), box, radius);
  if (style.drawFrame) g.DrawRoundRect(style.Color(kFR), box, radius, style.frameThickness);
  g.DrawText(style.valueText, GetStr(), box);
  if (style.showLabel && !label.empty()) g.DrawText(style.labelText, label, layout.label);
}

void IVNumberBoxControl::OnMouseDown(float, float, const IMouseMod&) {
  dragAccumulator = 0.f;
}

void IVNumberBoxControl::OnMouseDrag(float, float, float, float dY, const IMouseMod& mod) {
  dragAccumulator -= dY;
  const float perStep = mod.IsFine() ? kUnitsPerStep * 4.f : kUnitsPerStep;
  const int steps = static_cast<int>(dragAccumulator / perStep);
  if (steps == 0) return;
  dragAccumulator -= steps * perStep;
  SetRealValueFromUser(RealValue() + steps * step);
}

void IVNumberBoxControl::OnMouseDblClick(float, float, const IMouseMod&) {
  if (ui) ui->CreateTextEntry(*this, style.valueText.WithFGColor(kColorBlack), BoxRECT(), GetStr());
}

void IVNumberBoxControl::OnMouseWheel(float, float, const IMouseMod&, float delta) {
  if (delta == 0.f) return;
  SetRealValueFromUser(RealValue() + (delta > 0.f ? step : -step));
}

void IVNumberBoxControl::OnTextEntryCompletion(const std::string& text) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end == text.c_str()) return;  // not a number: the value stays
  SetRealValueFromUser(v);
}

}  // namespace qd3
