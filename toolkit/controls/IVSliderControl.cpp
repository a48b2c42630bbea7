#include "toolkit/controls/IVSliderControl.h"

#include <algorithm>

#include "toolkit/controls/VectorLayout.h"

namespace qd3 {

IVSliderControl::IVSliderControl(const IRECT& bounds, int param, std::string text,
                                 const IVStyle& vstyle, bool isVertical, double gear, float handle,
                                 float track)
    : IControl(bounds, param),
      mLabel(std::move(text)),
      mStyle(vstyle),
      mVertical(isVertical),
      mGearing(gear),
      mHandleSize(handle),
      mTrackSize(track) {
  mRedrawOnHover = true;
  mParamTooltip = true;
}

IRECT IVSliderControl::TrackRECT() const {
  const IRECT w = VectorLayout::Make(mRect, mStyle, mLabel).widget;
  if (mVertical) return IRECT(w.MW() - mTrackSize / 2.f, w.T, w.MW() + mTrackSize / 2.f, w.B);
  return IRECT(w.L, w.MH() - mTrackSize / 2.f, w.R, w.MH() + mTrackSize / 2.f);
}

float IVSliderControl::Travel() const {
  const IRECT w = VectorLayout::Make(mRect, mStyle, mLabel).widget;
  return std::max(1.f, (mVertical ? w.H() : w.W()) - mHandleSize);
}

IRECT IVSliderControl::HandleRECT() const {
  const IRECT w = VectorLayout::Make(mRect, mStyle, mLabel).widget;
  const auto offset = static_cast<float>(mValue) * Travel();
  if (mVertical) return IRECT(w.L, w.B - mHandleSize - offset, w.R, w.B - offset);
  return IRECT(w.L + offset, w.T, w.L + offset + mHandleSize, w.B);
}

double IVSliderControl::ValueAt(float x, float y) const {
  const IRECT w = VectorLayout::Make(mRect, mStyle, mLabel).widget;
  const float pos = mVertical ? (w.B - mHandleSize / 2.f - y) : (x - w.L - mHandleSize / 2.f);
  return std::clamp(static_cast<double>(pos) / Travel(), 0.0, 1.0);
}

void IVSliderControl::Draw(IDrawContext& g) {
  const VectorLayout layout = VectorLayout::Make(mRect, mStyle, mLabel);
  g.FillRect(mStyle.Color(kBG), mRect);
  const IRECT track = TrackRECT();
  const float trackRadius = CornerRadius(mStyle, track);
  g.FillRoundRect(mStyle.Color(kSH), track, trackRadius);
  const IRECT handle = HandleRECT();
  IRECT filled = track;
  if (mVertical) {
    filled.T = handle.MH();
  } else {
    filled.R = handle.MW();
  }
  g.FillRoundRect(mStyle.Color(kX1), filled, trackRadius);
  const float handleRadius = CornerRadius(mStyle, handle);
  g.FillRoundRect(mDragging ? mStyle.Color(kPR) : mStyle.Color(kFG), handle, handleRadius);
  if (mOuseIsOver) g.FillRoundRect(mStyle.Color(kHL), handle, handleRadius);
  if (mStyle.drawFrame) {
    g.DrawRoundRect(mStyle.Color(kFR), handle, handleRadius, mStyle.frameThickness);
  }
  if (mStyle.showLabel && !mLabel.empty()) g.DrawText(mStyle.labelText, mLabel, layout.label);
  if (mStyle.showValue) g.DrawText(mStyle.valueText, GetParamDisplayText(), layout.valueText);
}

void IVSliderControl::OnMouseDown(float x, float y, const IMouseMod&) {
  mDragging = true;
  if (!HandleRECT().Contains(x, y)) {
    SetValueFromUserInput(ValueAt(x, y));
  }
  SetDirty();
}

void IVSliderControl::OnMouseUp(float, float, const IMouseMod&) {
  mDragging = false;
  SetDirty();
}

void IVSliderControl::OnMouseDrag(float, float, float dX, float dY, const IMouseMod& mod) {
  const double g = mod.IsFine() ? mGearing * KnobDrag::kFineFactor : mGearing;
  const double delta = mVertical ? -dY : dX;
  SetValueFromUserInput(std::clamp(mValue + delta / (Travel() * g), 0.0, 1.0));
}

void IVSliderControl::OnMouseWheel(float, float, const IMouseMod& mod, float delta) {
  WheelFromUser(delta, mod);
}

void IVSliderControl::OnMouseDblClick(float, float, const IMouseMod&) {
  ResetToDefaultFromUser();
}

}  // namespace qd3
