#include "toolkit/controls/ITextControl.h"

#include <cairo.h>

#include "toolkit/IDrawContext.h"

namespace qd3 {
namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // U+2026

}  // namespace

ITextControl::ITextControl(const IRECT& bounds, std::string s, const IText& style, const IColor& bg)
    : IControl(bounds), mStr(std::move(s)), mText(style), mBackground(bg) {
  mIgnoreMouse = true;
}

void ITextControl::Draw(IDrawContext& g) {
  g.FillRect(mBackground, mRect);
  cairo_t* cr = g.GetCairo();
  cairo_save(cr);
  const IRECT ink = InkRect();
  cairo_rectangle(cr, ink.L, ink.T, ink.W(), ink.H());
  cairo_clip(cr);
  if (mShrinkMargin < 0.f && !mEllipsis) {
    g.DrawText(mText, mStr, mRect);
  } else {
    const Fitted& fitted = Fit(g);
    IText text = mText;
    text.size = fitted.size;
    g.DrawText(text, fitted.shown, mRect);
  }
  cairo_restore(cr);
}

const ITextControl::Fitted& ITextControl::Fit(const IDrawContext& g) {
  // Measuring is slow next to drawing: the fit is kept until the text, its style, the
  // box or the scale change.
  if (mFitted && mFitted->source == mStr && mFitted->style == mText.size &&
      mFitted->font == mText.font && mFitted->width == mRect.W() &&
      mFitted->scale == g.GetDrawScale()) {
    return *mFitted;
  }
  IText text = mText;
  if (mShrinkMargin >= 0.f) {
    const float room = mRect.W() - 2.f * mShrinkMargin;
    const float width = g.MeasureText(text, mStr);
    if (width > room && room > 0.f) {
      text.size *= room / width;
      // Hinting does not scale exactly: a few more steps until it really fits.
      for (int i = 0; i < 8 && g.MeasureText(text, mStr) > room; ++i) text.size *= 0.97f;
    }
  }
  std::string shown = mEllipsis ? Ellipsized(g, text, mStr, mRect.W()) : mStr;
  mFitted = Fitted{mStr,      mText.size,      mText.font, mRect.W(), g.GetDrawScale(),
                   text.size, std::move(shown)};
  return *mFitted;
}

std::string ITextControl::Ellipsized(const IDrawContext& g, const IText& text, std::string_view str,
                                     float width) {
  if (g.MeasureText(text, str) <= width) return std::string(str);
  // Trailing spaces (a padded name) go first, and need no ellipsis.
  std::size_t end = str.find_last_not_of(' ');
  end = end == std::string_view::npos ? 0 : end + 1;
  if (g.MeasureText(text, str.substr(0, end)) <= width) return std::string(str.substr(0, end));
  while (end > 0) {
    std::string candidate(str.substr(0, end));
    candidate += kEllipsis;
    if (g.MeasureText(text, candidate) <= width) return candidate;
    --end;
    while (end > 0 && (static_cast<unsigned char>(str[end]) & 0xC0) == 0x80) --end;
  }
  return std::string(kEllipsis);
}

IRECT ITextControl::InkRect() const {
  // A glyph reaches at most about 0.4 em past a box that is as tight as the text's size.
  const float reach = mInkReach * mText.size;
  return IRECT(mRect.L, mRect.T - reach, mRect.R, mRect.B + reach);
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
