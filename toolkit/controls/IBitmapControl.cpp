#include "controls/IBitmapControl.h"

#include <cmath>

namespace qd3 {

IBitmapControl::IBitmapControl(float x, float y, const IBitmap& bmp, int param)
    : IControl(IRECT::MakeXYWH(x, y, bmp.FW(), bmp.FH()), param), bitmap(bmp) {}

IBitmapControl::IBitmapControl(const IRECT& bounds, const IBitmap& bmp, int param)
    : IControl(bounds, param), bitmap(bmp) {}

int IBitmapControl::CurrentFrame() const {
  return static_cast<int>(std::lround(value * (bitmap.N() - 1)));
}

void IBitmapControl::Draw(IDrawContext& g) {
  g.DrawBitmap(bitmap, rect.L, rect.T, CurrentFrame());
}

}  // namespace qd3
