#pragma once

#include "toolkit/controls/ITextControl.h"

namespace qd3 {

// A text that opens a web address through the platform services when clicked.
// Under the mouse it takes the hover colour and is underlined; once clicked it
// keeps the clicked colour.
class IURLControl : public ITextControl {
 public:
  IURLControl(const IRECT& bounds, std::string label, std::string url, const IText& text,
              const IColor& background = kColorTransparent,
              const IColor& mouseOverColor = IColor{255, 116, 116, 116},
              const IColor& clickedColor = IColor{255, 116, 116, 116});

  void Draw(IDrawContext& g) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  const std::string& GetURL() const { return mUrl; }
  bool WasClicked() const { return mClicked; }

 private:
  std::string mUrl;
  IColor mOuseOverColor;
  IColor mClickedColor;
  bool mClicked = false;
};

}  // namespace qd3
