#include "controls/ITextEntryControl.h"

namespace qd3 {

ITextEntryControl::ITextEntryControl() : IControl(IRECT()) {
  hidden = true;
}

void ITextEntryControl::Begin(IControl& target, const IText& text, const IRECT& bounds,
                              std::string_view initial) {
  caller = &target;
  style = text;
  buffer = initial;
  caret = buffer.size();
  SetRECT(bounds);
  Hide(false);
  SetDirty();
}

void ITextEntryControl::Commit() {
  if (!caller) return;
  IControl* target = caller;
  const std::string text = buffer;
  Cancel();
  target->OnTextEntryCompletion(text);
}

void ITextEntryControl::Cancel() {
  caller = nullptr;
  Hide(true);
}

size_t ITextEntryControl::PrevCharStart(size_t pos) const {
  if (pos == 0) return 0;
  --pos;
  while (pos > 0 && (static_cast<unsigned char>(buffer[pos]) & 0xC0) == 0x80) --pos;
  return pos;
}

size_t ITextEntryControl::NextCharStart(size_t pos) const {
  if (pos >= buffer.size()) return buffer.size();
  ++pos;
  while (pos < buffer.size() && (static_cast<unsigned char>(buffer[pos]) & 0xC0) == 0x80) ++pos;
  return pos;
}

bool ITextEntryControl::OnKeyDown(float, float, const IKeyPress& key) {
  if (!caller) return false;
  switch (key.vk) {
    case kVK_RETURN:
      Commit();
      return true;
    case kVK_ESCAPE:
      Cancel();
      return true;
    case kVK_BACK:
      if (caret > 0) {
        const size_t start = PrevCharStart(caret);
        buffer.erase(start, caret - start);
        caret = start;
      }
      break;
    case kVK_DELETE:
      if (caret < buffer.size()) buffer.erase(caret, NextCharStart(caret) - caret);
      break;
    case kVK_LEFT:
      caret = PrevCharStart(caret);
      break;
    case kVK_RIGHT:
      caret = NextCharStart(caret);
      break;
    case kVK_HOME:
      caret = 0;
      break;
    case kVK_END:
      caret = buffer.size();
      break;
    default:
      if (key.C || key.utf8.empty() || static_cast<unsigned char>(key.utf8[0]) < 0x20) {
        return true;  // the entry holds the keyboard while open
      }
      buffer.insert(caret, key.utf8);
      caret += key.utf8.size();
      break;
  }
  SetDirty();
  return true;
}

void ITextEntryControl::Draw(IDrawContext& g) {
  g.FillRect(kColorWhite, rect);
  g.DrawRect(IColor{255, 60, 60, 60}, rect, 1.f);
  IText t = style.WithFGColor(kColorBlack).WithAlign(EAlign::Near);
  const IRECT inner = rect.GetPadded(-3.f, 0.f, -3.f, 0.f);
  g.DrawText(t, buffer, inner);
  const float caretX = inner.L + g.MeasureText(t, std::string_view(buffer).substr(0, caret));
  g.DrawLine(kColorBlack, caretX, rect.T + 3.f, caretX, rect.B - 3.f, 1.f);
}

}  // namespace qd3
