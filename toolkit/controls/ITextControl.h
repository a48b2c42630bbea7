#pragma once

#include <string>

#include "toolkit/IControl.h"
#include "toolkit/IText.h"

namespace qd3 {

// A static text on an optional background colour. It lets the mouse through to
// what lies beneath (a value text drawn inside a knob does not block the knob).
class ITextControl : public IControl {
 public:
  ITextControl(const IRECT& bounds, std::string str, const IText& text,
               const IColor& background = kColorTransparent);

  void Draw(IDrawContext& g) override;
  void SetStr(std::string_view str) override;
  std::string GetStr() const override { return mStr; }
  void SetTextColor(const IColor& color) override;
  const IText& GetText() const { return mText; }
  void SetBackgroundColor(const IColor& color);

 protected:
  std::string mStr;
  IText mText;
  IColor mBackground;
};

}  // namespace qd3
