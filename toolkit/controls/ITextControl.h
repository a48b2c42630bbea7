#pragma once

#include <optional>
#include <string>

#include "toolkit/IControl.h"
#include "toolkit/IText.h"

namespace qd3 {

// A static text on an optional background colour. It lets the mouse through to
// what lies beneath (a value text drawn inside a knob does not block the knob). The text
// is cut at the control's sides, so a redraw of the control paints over all it drew;
// with SetEllipsis a text too wide for the control ends in "…" instead.
class ITextControl : public IControl {
 public:
  ITextControl(const IRECT& bounds, std::string str, const IText& text,
               const IColor& background = kColorTransparent);

  void Draw(IDrawContext& g) override;
  // Ascenders and descenders may pass a tight control's top and bottom: the repaint takes
  // them in, so none is left behind when the text changes.
  IRECT GetDrawRECT() const override { return InkRect(); }
  void SetStr(std::string_view str) override;
  std::string GetStr() const override { return mStr; }
  void SetTextColor(const IColor& color) override;
  const IText& GetText() const { return mText; }
  void SetBackgroundColor(const IColor& color);
  void SetEllipsis(bool ellipsis) { mEllipsis = ellipsis; }
  // A text too wide for the control is drawn smaller until it fits, less `margin` on
  // each side (a heading whose words change).
  void SetShrinkToFit(float margin) { mShrinkMargin = margin; }
  // How far above and below its box, in em, the text's glyphs may reach (0.4 unless
  // set): a font that keeps inside its box (seven segments) needs 0, and repaints less.
  void SetInkReach(float em) { mInkReach = em; }

  // The longest start of `str` that fits `width` with "…" after it, on whole UTF-8
  // characters; `str` itself when it fits.
  static std::string Ellipsized(const IDrawContext& g, const IText& text, std::string_view str,
                                float width);

 protected:
  // The control's width, and above and below it as far as a glyph may reach.
  IRECT InkRect() const;

  // What is drawn of the text after shrinking and the ellipsis, and what it was made for.
  struct Fitted {
    std::string source;
    float style = 0.f;  // the style's size
    std::string font;
    float width = 0.f;
    float scale = 0.f;
    float size = 0.f;  // the size drawn
    std::string shown;
  };
  const Fitted& Fit(const IDrawContext& g);
  std::string mStr;
  IText mText;
  IColor mBackground;
  bool mEllipsis = false;
  float mShrinkMargin = -1.f;  // below 0: never shrunk
  float mInkReach = 0.4f;
  std::optional<Fitted> mFitted;
};

}  // namespace qd3
