#include "controls/IVButtonControl.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "controls/VectorLayout.h"

namespace qd3 {

IVButtonControl::IVButtonControl(const IRECT& bounds, IActionFunction fn, std::string text,
                                 const IVStyle& vstyle)
    : IControl(bounds, kNoParameter, std::move(fn)), label(std::move(text)), style(vstyle) {
  redrawOnHover = true;
}

void IVButtonControl::SetStr(std::string_view text) {
  if (label == text) return;
  label = text;
  SetDirty();
}

void IVButtonControl::Draw(IDrawContext& g) {
  const float radius = CornerRadius(style, rect);
  g.FillRoundRect(style.Color(kBG), rect, radius);
  const IRECT body = rect.GetPadded(-1.f);
  g.FillRoundRect(value > 0.5 ? style.Color(kPR) : style.Color(kFG), body, radius);
  if (mouseIsOver) g.FillRoundRect(style.Color(kHL), body, radius);
  if (IsAnimating()) {
    // The splash: a disc growing from the press point, clipped to the button.
    const float reach = std::hypot(rect.W(), rect.H());
    const auto p = static_cast<float>(GetAnimationProgress());
    cairo_t* cr = g.GetCairo();
    cairo_save(cr);
    cairo_rectangle(cr, body.L, body.T, body.W(), body.H());
    cairo_clip(cr);
    g.FillCircle(WithOpacity(style.Color(kHL), 1.f - p), splashX, splashY,
                 std::max(1.f, reach * p));
    cairo_restore(cr);
  }
  if (style.drawFrame) g.DrawRoundRect(style.Color(kFR), body, radius, style.frameThickness);
  if (style.showLabel && !label.empty()) g.DrawText(style.labelText, label, rect);
}

void IVButtonControl::OnMouseDown(float x, float y, const IMouseMod&) {
  splashX = x;
  splashY = y;
  SetValue(1.0);
  StartAnimation(kClickAnimationSeconds);
}

void IVButtonControl::OnMouseUp(float, float, const IMouseMod&) {
  SetValue(0.0);
}

void IVButtonControl::OnAnimationEnd() {
  RunAction();
}

}  // namespace qd3
