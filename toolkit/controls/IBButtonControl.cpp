#include "toolkit/controls/IBButtonControl.h"

namespace qd3 {

IBButtonControl::IBButtonControl(float x, float y, const IBitmap& bmp, IActionFunction fn)
    : IControl(IRECT::MakeXYWH(x, y, bmp.FW(), bmp.FH()), kNoParameter, std::move(fn)),
      mBitmap(bmp) {}

void IBButtonControl::Draw(IDrawContext& g) {
  g.DrawBitmap(mBitmap, mRect.L, mRect.T, mValue > 0.5 ? 1 : 0);
}

void IBButtonControl::OnMouseDown(float, float, const IMouseMod&) {
  mPressed = true;
  RunAction();
}

void IBButtonControl::OnMouseUp(float, float, const IMouseMod&) {
  mPressed = false;
  RunAction();
}

}  // namespace qd3
