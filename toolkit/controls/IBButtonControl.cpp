#include "controls/IBButtonControl.h"

namespace qd3 {

IBButtonControl::IBButtonControl(float x, float y, const IBitmap& bmp, IActionFunction fn)
    : IControl(IRECT::MakeXYWH(x, y, bmp.FW(), bmp.FH()), kNoParameter, std::move(fn)),
      bitmap(bmp) {}

void IBButtonControl::Draw(IDrawContext& g) {
  g.DrawBitmap(bitmap, rect.L, rect.T, value > 0.5 ? 1 : 0);
}

void IBButtonControl::OnMouseDown(float, float, const IMouseMod&) {
  pressed = true;
  RunAction();
}

void IBButtonControl::OnMouseUp(float, float, const IMouseMod&) {
  pressed = false;
  RunAction();
}

}  // namespace qd3
