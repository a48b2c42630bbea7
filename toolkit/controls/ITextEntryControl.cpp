#include "toolkit/controls/ITextEntryControl.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "toolkit/IDrawContext.h"

namespace qd3 {

ITextEntryControl::ITextEntryControl() : IControl(IRECT()) {
  mHidden = true;
}

void ITextEntryControl::Begin(IControl& target, const IText& text, const IRECT& bounds,
                              std::string_view initial, std::size_t maxBytes) {
  mCaller = &target;
  mStyle = text;
  mMaxBytes = maxBytes;
  mBuffer = initial;
  if (mMaxBytes > 0 && mBuffer.size() > mMaxBytes) mBuffer.resize(mMaxBytes);
  mCaret = mBuffer.size();
  mAllSelected = false;
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

void ITextEntryControl::Type(const std::string& text) {
  if (mMaxBytes > 0) {
    for (const char c : text) {
      if (c < 0x20 || c > 0x7E) return;  // the pedal's names are plain ASCII
    }
    if (mBuffer.size() + text.size() > mMaxBytes) return;
  }
  mBuffer.insert(mCaret, text);
  mCaret += text.size();
}

bool ITextEntryControl::OnKeyDown(float, float, const IKeyPress& key) {
  if (!mCaller) return false;
  if (key.C && key.vk == 'A') {
    mAllSelected = !mBuffer.empty();
    mCaret = mBuffer.size();
    SetDirty();
    return true;
  }
  // With everything selected, an edit takes it all and a move ends the selection.
  const bool replaceAll = std::exchange(mAllSelected, false);
  const std::string before = mBuffer;
  switch (key.vk) {
    case kVK_RETURN: {
      IControl* caller = mCaller;
      Commit();
      caller->OnTextEntryReturn();
      return true;
    }
    case kVK_ESCAPE: {
      IControl* caller = mCaller;
      Cancel();
      caller->OnTextEntryCancelled();
      return true;
    }
    case kVK_BACK:
      if (replaceAll) {
        mBuffer.clear();
        mCaret = 0;
      } else if (mCaret > 0) {
        const size_t start = PrevCharStart(mCaret);
        mBuffer.erase(start, mCaret - start);
        mCaret = start;
      }
      break;
    case kVK_DELETE:
      if (replaceAll) {
        mBuffer.clear();
        mCaret = 0;
      } else if (mCaret < mBuffer.size()) {
        mBuffer.erase(mCaret, NextCharStart(mCaret) - mCaret);
      }
      break;
    case kVK_LEFT:
      mCaret = replaceAll ? 0 : PrevCharStart(mCaret);
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
        mAllSelected = replaceAll;
        return true;  // the entry holds the keyboard while open
      }
      if (replaceAll) {
        const std::string kept = std::exchange(mBuffer, {});
        mCaret = 0;
        Type(key.utf8);
        if (mBuffer.empty()) {  // refused: the old text stays, still selected
          mBuffer = kept;
          mCaret = mBuffer.size();
          mAllSelected = true;
        }
      } else {
        Type(key.utf8);
      }
      break;
  }
  SetDirty();
  if (mBuffer != before) mCaller->OnTextEntryEdited(mBuffer);
  return true;
}

void ITextEntryControl::Draw(IDrawContext& g) {
  g.FillRect(kColorWhite, mRect);
  g.DrawRect(IColor{255, 60, 60, 60}, mRect, 1.f);
  IText t = mStyle.WithFGColor(kColorBlack).WithAlign(EAlign::Near);
  const IRECT inner = mRect.GetPadded(-3.f, 0.f, -3.f, 0.f);
  const float beforeCaret = g.MeasureText(t, std::string_view(mBuffer).substr(0, mCaret));
  // The text slides left as far as the caret needs to stay inside the field.
  const float shift = std::max(0.f, beforeCaret - (inner.W() - 2.f));
  const IRECT shifted(inner.L - shift, inner.T, inner.R + 4096.f, inner.B);
  cairo_t* cr = g.GetCairo();
  cairo_save(cr);
  cairo_rectangle(cr, inner.L, mRect.T, inner.W(), mRect.H());
  cairo_clip(cr);
  if (mAllSelected) {
    const float width = g.MeasureText(t, mBuffer);
    g.FillRect(IColor{255, 170, 200, 255},
               IRECT(shifted.L, mRect.T + 3.f, shifted.L + width, mRect.B - 3.f));
  }
  g.DrawText(t, mBuffer, shifted);
  cairo_restore(cr);
  // At least two device pixels wide at any scale.
  double unit = 1.0;
  double ignored = 0.0;
  cairo_user_to_device_distance(cr, &unit, &ignored);
  const float width = static_cast<float>(std::max(1.0, 2.0 / std::max(unit, 1e-6)));
  // On a device-pixel boundary, so that the two pixels are whole rather than three halves.
  const double wanted = std::min(inner.L + beforeCaret - shift, inner.R - width / 2.f);
  const auto caretX = static_cast<float>(std::round(wanted * unit) / unit);
  g.DrawLine(kColorBlack, caretX, mRect.T + 3.f, caretX, mRect.B - 3.f, width);
}

}  // namespace qd3
