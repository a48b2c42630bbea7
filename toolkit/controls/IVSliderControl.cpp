#include "controls/IVSliderControl.h"

#include <algorithm>

#include "controls/VectorLayout.h"

namespace qd3 {

IVSliderControl::IVSliderControl(const IRECT& bounds, int param, std::string text,
                                 const IVStyle& vstyle, bool isVertical, double gear, float handle,
                                 float track)
    : IControl(bounds, param),
      label(std::move(text)),
      style(vstyle),
      vertical(isVertical),
      gearing(gear),
      handleSize(handle),
      trackSize(track) {
  redrawOnHover = true;
}

IRECT IVSliderControl::TrackRECT() const {
  const IRECT w = VectorLayout::Make(rect, style, label).widget;
  if (vertical) return IRECT(w.MW() - trackSize / 2.f, w.T, w.MW() + trackSize / 2.f, w.B);
  return IRECT(w.L, w.MH() - trackSize / 2.f, w.R, w.MH() + trackSize / 2.f);
}

float IVSliderControl::Travel() const {
  const IRECT w = VectorLayout::Make(rect, style, label).widget;
  return std::max(1.f, (vertical ? w.H() : w.W()) - handleSize);
}

IRECT IVSliderControl::HandleRECT() const {
  const IRECT w = VectorLayout::Make(rect, style, label).widget;
  const auto offset = static_cast<float>(value) * Travel();
  if (vertical) return IRECT(w.L, w.B - handleSize - offset, w.R, w.B - offset);
  return IRECT(w.L + offset, w.T, w.L + offset + handleSize, w.B);
}

double IVSliderControl::ValueAt(float x, float y) const {
  const IRECT w = VectorLayout::Make(rect, style, label).widget;
  const float pos = vertical ? (w.B - handleSize / 2.f - y) : (x - w.L - handleSize / 2.f);
  return std::clamp(static_cast<double>(pos) / Travel(), 0.0, 1.0);
}

void IVSliderControl::Draw(IDrawContext& g) {
  const VectorLayout layout = VectorLayout::Make(rect, style, label);
  g.FillRect(style.Color(kBG), rect);
  const IRECT track = TrackRECT();
  const float trackRadius = CornerRadius(style, track);
  g.FillRoundRect(style.Color(kSH), track, trackRadius);
  const IRECT handle = HandleRECT();
  IRECT filled = track;
  if (vertical) {
    filled.T = handle.MH();
  } else {
    filled.R = handle.MW();
  }
  g.FillRoundRect(style.Color(kX1), filled, trackRadius);
  const float handleRadius = CornerRadius(style, handle);
  g.FillRoundRect(dragging ? style.Color(kPR) : style.Color(kFG), handle, handleRadius);
  if (mouseIsOver) g.FillRoundRect(style.Color(kHL), handle, handleRadius);
  if (style.drawFrame) {
    g.DrawRoundRect(style.Color(kFR), handle, handleRadius, style.frameThickness);
  }
  if (style.showLabel && !label.empty()) g.DrawText(style.labelText, label, layout.label);
  if (style.showValue) g.DrawText(style.valueText, GetParamDisplayText(), layout.valueText);
}

void IVSliderControl::OnMouseDown(float x, float y, const IMouseMod&) {
  dragging = true;
  if (!HandleRECT().Contains(x, y)) {
    SetValueFromUserInput(ValueAt(x, y));
  }
  SetDirty();
}

void IVSliderControl::OnMouseUp(float, float, const IMouseMod&) {
  dragging = false;
  SetDirty();
}

void IVSliderControl::OnMouseDrag(float, float, float dX, float dY, const IMouseMod& mod) {
  const double g = mod.IsFine() ? gearing * 10.0 : gearing;
  const double delta = vertical ? -dY : dX;
  SetValueFromUserInput(std::clamp(value + delta / (Travel() * g), 0.0, 1.0));
}

}  // namespace qd3
