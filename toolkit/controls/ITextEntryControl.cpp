#include "toolkit/controls/ITextEntryControl.h"

namespace qd3 {

ITextEntryControl::ITextEntryControl() : IControl(IRECT()) {
  mHidden = true;
}

void ITextEntryControl::Begin(IControl& target, const IText& text, const IRECT& bounds,
                              std::string_view initial) {
  mCaller = &target;
  mStyle = text;
  mBuffer = initial;
  mCaret = mBuffer.size();
  SetRECT(bounds);
  Hide(false);
  SetDirty();
}

void ITextEntryControl::Commit() {
  if (!mCaller) return;
  IControl* target = mCaller;
  const std::string text = mBuffer;
  Cancel();
  target->OnTextEntryCompletion(text);
}

void ITextEntryControl::Cancel() {
  mCaller = nullptr;
  Hide(true);
}

size_t ITextEntryControl::PrevCharStart(size_t pos) const {
  if (pos == 0) return 0;
  --pos;
  while (pos > 0 && (static_cast<unsigned char>(mBuffer[pos]) & 0xC0) == 0x80) --pos;
  return pos;
}

size_t ITextEntryControl::NextCharStart(size_t pos) const {
  if (pos >= mBuffer.size()) return mBuffer.size();
  ++pos;
  while (pos < mBuffer.size() && (static_cast<unsigned char>(mBuffer[pos]) & 0xC0) == 0x80) ++pos;
  return pos;
}

bool ITextEntryControl::OnKeyDown(float, float, const IKeyPress& key) {
  if (!mCaller) return false;
  switch (key.vk) {
    case kVK_RETURN:
      Commit();
      return true;
    case kVK_ESCAPE:
      Cancel();
      return true;
    case kVK_BACK:
      if (mCaret > 0) {
        const size_t start = PrevCharStart(mCaret);
        mBuffer.erase(start, mCaret - start);
        mCaret = start;
      }
      break;
    case kVK_DELETE:
      if (mCaret < mBuffer.size()) mBuffer.erase(mCaret, NextCharStart(mCaret) - mCaret);
      break;
    case kVK_LEFT:
      mCaret = PrevCharStart(mCaret);
      break;
    case kVK_RIGHT:
      mCaret = NextCharStart(mCaret);
      break;
    case kVK_HOME:
      mCaret = 0;
      break;
    case kVK_END:
      mCaret = mBuffer.size();
      break;
    default:
      if (key.C || key.utf8.empty() || static_cast<unsigned char>(key.utf8[0]) < 0x20) {
        return true;  // the entry holds the keyboard while open
      }
      mBuffer.insert(mCaret, key.utf8);
      mCaret += key.utf8.size();
      break;
  }
  SetDirty();
  return true;
}

void ITextEntryControl::Draw(IDrawContext& g) {
  g.FillRect(kColorWhite, mRect);
  g.DrawRect(IColor{255, 60, 60, 60}, mRect, 1.f);
  IText t = mStyle.WithFGColor(kColorBlack).WithAlign(EAlign::Near);
  const IRECT inner = mRect.GetPadded(-3.f, 0.f, -3.f, 0.f);
  g.DrawText(t, mBuffer, inner);
  const float caretX = inner.L + g.MeasureText(t, std::string_view(mBuffer).substr(0, mCaret));
  g.DrawLine(kColorBlack, caretX, mRect.T + 3.f, caretX, mRect.B - 3.f, 1.f);
}

}  // namespace qd3
