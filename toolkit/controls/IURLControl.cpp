#include "toolkit/controls/IURLControl.h"

#include "toolkit/IGraphics.h"
#include "toolkit/api/IPlatformServices.h"

namespace qd3 {

IURLControl::IURLControl(const IRECT& bounds, std::string label, std::string address,
                         const IText& style, const IColor& bg, const IColor& overColor,
                         const IColor& doneColor)
    : ITextControl(bounds, std::move(label), style, bg),
      mUrl(std::move(address)),
      mOuseOverColor(overColor),
      mClickedColor(doneColor) {
  mIgnoreMouse = false;
  mRedrawOnHover = true;
}

void IURLControl::Draw(IDrawContext& g) {
  g.FillRect(mBackground, mRect);
  IText t = mText;
  if (mOuseIsOver) {
    t.fgColor = mOuseOverColor;
  } else if (mClicked) {
    t.fgColor = mClickedColor;
  }
  g.DrawText(t, mStr, mRect);
  if (mOuseIsOver) {
    const float w = g.MeasureText(t, mStr);
    float left = mRect.L;
    if (t.align == EAlign::Center) left = mRect.MW() - w / 2.f;
    if (t.align == EAlign::Far) left = mRect.R - w;
    const float y = mRect.MH() + t.size / 2.f;
    g.DrawLine(t.fgColor, left, y, left + w, y, 1.f);
  }
}

void IURLControl::OnMouseDown(float, float, const IMouseMod&) {
  mClicked = true;
  if (mUi && mUi->GetPlatformServices()) mUi->GetPlatformServices()->OpenURL(mUrl);
  SetDirty();
}

}  // namespace qd3
