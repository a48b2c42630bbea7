#include "toolkit/controls/IVButtonControl.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "toolkit/controls/VectorLayout.h"

namespace qd3 {

IVButtonControl::IVButtonControl(const IRECT& bounds, IActionFunction fn, std::string text,
                                 const IVStyle& vstyle)
    : IControl(bounds, kNoParameter, std::move(fn)), mLabel(std::move(text)), mStyle(vstyle) {
  mRedrawOnHover = true;
}

void IVButtonControl::SetStr(std::string_view text) {
  if (mLabel == text) return;
  mLabel = text;
  SetDirty();
}

void IVButtonControl::Draw(IDrawContext& g) {
  const float radius = CornerRadius(mStyle, mRect);
  g.FillRoundRect(mStyle.Color(kBG), mRect, radius);
  const IRECT body = mRect.GetPadded(-1.f);
  const bool lit = mValue > 0.5 || mPressed;
  g.FillRoundRect(lit ? mStyle.Color(kPR) : mStyle.Color(kFG), body, radius);
  if (mOuseIsOver) g.FillRoundRect(mStyle.Color(kHL), body, radius);
  if (IsAnimating()) {
    // The splash: a disc growing from the press point, clipped to the button.
    const float reach = std::hypot(mRect.W(), mRect.H());
    const auto p = static_cast<float>(GetAnimationProgress());
    cairo_t* cr = g.GetCairo();
    cairo_save(cr);
    cairo_rectangle(cr, body.L, body.T, body.W(), body.H());
    cairo_clip(cr);
    g.FillCircle(WithOpacity(mStyle.Color(kHL), 1.f - p), mSplashX, mSplashY,
                 std::max(1.f, reach * p));
    cairo_restore(cr);
  }
  if (mStyle.drawFrame) g.DrawRoundRect(mStyle.Color(kFR), body, radius, mStyle.frameThickness);
  if (mStyle.showLabel && !mLabel.empty()) g.DrawText(mStyle.labelText, mLabel, mRect);
}

void IVButtonControl::OnMouseDown(float x, float y, const IMouseMod&) {
  mSplashX = x;
  mSplashY = y;
  if (mLatching) {
    mPressed = true;
    SetDirty();
  } else {
    SetValue(1.0);
  }
  StartAnimation(kClickAnimationSeconds);
}

void IVButtonControl::OnMouseUp(float, float, const IMouseMod&) {
  if (!mLatching) {
    SetValue(0.0);
    return;
  }
  mPressed = false;
  SetDirty();
}

void IVButtonControl::OnAnimationEnd() {
  RunAction();
}

}  // namespace qd3
