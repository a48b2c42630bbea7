#pragma once

#include "toolkit/IControl.h"

namespace qd3 {

// A two-frame picture button: the upper frame for value 0, the lower for 1. Its
// action runs on the press and again on the release; the toolkit leaves the value
// alone (the action decides which frame shows).
class IBButtonControl : public IControl {
 public:
  // Top-left corner; the rectangle is the frame size.
  IBButtonControl(float x, float y, const IBitmap& bitmap, IActionFunction action);

  void Draw(IDrawContext& g) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  bool IsPressed() const { return mPressed; }

 private:
  IBitmap mBitmap;
  bool mPressed = false;
};

}  // namespace qd3
