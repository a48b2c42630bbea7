#include "controls/IEditableTextControl.h"

#include "IGraphics.h"

namespace qd3 {

IEditableTextControl::IEditableTextControl(const IRECT& bounds, std::string s, const IText& style,
                                           const IColor& bg, IActionFunction fn)
    : ITextControl(bounds, std::move(s), style, bg) {
  ignoreMouse = false;
  SetActionFunction(std::move(fn));
}

void IEditableTextControl::OnMouseDown(float, float, const IMouseMod&) {
  if (ui) ui->CreateTextEntry(*this, text, rect, str);
}

void IEditableTextControl::OnTextEntryCompletion(const std::string& entered) {
  SetStr(entered);
  RunAction();
}

}  // namespace qd3
