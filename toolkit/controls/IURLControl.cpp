#include "controls/IURLControl.h"

#include "IGraphics.h"
#include "api/IPlatformServices.h"

namespace qd3 {

IURLControl::IURLControl(const IRECT& bounds, std::string label, std::string address,
                         const IText& style, const IColor& bg, const IColor& overColor,
                         const IColor& doneColor)
    : ITextControl(bounds, std::move(label), style, bg),
      url(std::move(address)),
      mouseOverColor(overColor),
      clickedColor(doneColor) {
  ignoreMouse = false;
  redrawOnHover = true;
}

void IURLControl::Draw(IDrawContext& g) {
  g.FillRect(background, rect);
  IText t = text;
  if (mouseIsOver) {
    t.fgColor = mouseOverColor;
  } else if (clicked) {
    t.fgColor = clickedColor;
  }
  g.DrawText(t, str, rect);
  if (mouseIsOver) {
    const float w = g.MeasureText(t, str);
    float left = rect.L;
    if (t.align == EAlign::Center) left = rect.MW() - w / 2.f;
    if (t.align == EAlign::Far) left = rect.R - w;
    const float y = rect.MH() + t.size / 2.f;
    g.DrawLine(t.fgColor, left, y, left + w, y, 1.f);
  }
}

void IURLControl::OnMouseDown(float, float, const IMouseMod&) {
  clicked = true;
  if (ui && ui->GetPlatformServices()) ui->GetPlatformServices()->OpenURL(url);
  SetDirty();
}

}  // namespace qd3
