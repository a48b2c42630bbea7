#include "toolkit/controls/ITextControl.h"

namespace qd3 {

ITextControl::ITextControl(const IRECT& bounds, std::string s, const IText& style, const IColor& bg)
    : IControl(bounds), mStr(std::move(s)), mText(style), mBackground(bg) {
  mIgnoreMouse = true;
}

void ITextControl::Draw(IDrawContext& g) {
  g.FillRect(mBackground, mRect);
  g.DrawText(mText, mStr, mRect);
}

void ITextControl::SetStr(std::string_view s) {
  if (mStr == s) return;
  mStr = s;
  SetDirty();
}

void ITextControl::SetTextColor(const IColor& color) {
  if (mText.fgColor == color) return;
  mText.fgColor = color;
  SetDirty();
}

void ITextControl::SetBackgroundColor(const IColor& color) {
  mBackground = color;
  SetDirty();
}

}  // namespace qd3
