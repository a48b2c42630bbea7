#include "controls/ITextControl.h"

namespace qd3 {

ITextControl::ITextControl(const IRECT& bounds, std::string s, const IText& style, const IColor& bg)
    : IControl(bounds), str(std::move(s)), text(style), background(bg) {
  ignoreMouse = true;
}

void ITextControl::Draw(IDrawContext& g) {
  g.FillRect(background, rect);
  g.DrawText(text, str, rect);
}

void ITextControl::SetStr(std::string_view s) {
  if (str == s) return;
  str = s;
  SetDirty();
}

void ITextControl::SetTextColor(const IColor& color) {
  if (text.fgColor == color) return;
  text.fgColor = color;
  SetDirty();
}

void ITextControl::SetBackgroundColor(const IColor& color) {
  background = color;
  SetDirty();
}

}  // namespace qd3
