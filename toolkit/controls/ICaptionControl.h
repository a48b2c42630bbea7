#pragma once

#include "toolkit/controls/ITextControl.h"

namespace qd3 {

// Shows the bound parameter's display text; a press opens a menu of the
// parameter's value texts, and choosing entry k of n sets the normalized value
// k / (n - 1).
class ICaptionControl : public ITextControl {
 public:
  ICaptionControl(const IRECT& bounds, int paramIdx, const IText& text,
                  const IColor& background = kColorTransparent);

  void Draw(IDrawContext& g) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnPopupMenuSelection(int index) override;
  std::string GetStr() const override { return GetParamDisplayText(); }
};

}  // namespace qd3
