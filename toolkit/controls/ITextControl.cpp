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
  if (mEllipsis) {
    g.DrawText(text, Ellipsized(g, text, mStr, mRect.W()), mRect);
  } else {
    g.DrawText(text, mStr, mRect);
  }
  cairo_restore(cr);
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
  constexpr float kInkReach = 0.4f;
  const float reach = kInkReach * mText.size;
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
