#include "toolkit/controls/IEditableTextControl.h"

#include "toolkit/IDrawContext.h"
#include "toolkit/IGraphics.h"

namespace qd3 {

IEditableTextControl::IEditableTextControl(const IRECT& bounds, std::string s, const IText& style,
                                           const IColor& bg, IActionFunction fn,
                                           std::size_t maxBytes)
    : ITextControl(bounds, std::move(s), style, bg), mMaxBytes(maxBytes) {
  mIgnoreMouse = false;
  SetActionFunction(std::move(fn));
}

void IEditableTextControl::OnMouseDown(float, float, const IMouseMod&) {
  BeginEditing();
}

void IEditableTextControl::BeginEditing() {
  if (!mUi || IsHidden() || IsDisabled()) return;
  const std::size_t end = mStr.find_last_not_of(' ');
  const std::string_view shown =
      end == std::string::npos ? std::string_view{} : std::string_view(mStr).substr(0, end + 1);
  mUi->CreateTextEntry(*this, mText, mRect, shown, mMaxBytes);
}

void IEditableTextControl::OnTextEntryCompletion(const std::string& entered) {
  SetStr(entered);
  RunAction();
}

void IEditableTextControl::OnTextEntryEdited(const std::string& text) {
  if (mLive) mLive(text);
}

void IEditableTextControl::OnTextEntryCancelled() {
  // An ordinary field keeps its text; a search field is cleared.
  if (!mLive) return;
  SetStr({});
  mLive({});
}

}  // namespace qd3
