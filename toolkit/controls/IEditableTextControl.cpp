#include "toolkit/controls/IEditableTextControl.h"

#include "toolkit/IGraphics.h"

namespace qd3 {

IEditableTextControl::IEditableTextControl(const IRECT& bounds, std::string s, const IText& style,
                                           const IColor& bg, IActionFunction fn)
    : ITextControl(bounds, std::move(s), style, bg) {
  mIgnoreMouse = false;
  SetActionFunction(std::move(fn));
}

void IEditableTextControl::OnMouseDown(float, float, const IMouseMod&) {
  if (mUi) mUi->CreateTextEntry(*this, mText, mRect, mStr);
}

void IEditableTextControl::OnTextEntryCompletion(const std::string& entered) {
  SetStr(entered);
  RunAction();
}

}  // namespace qd3
