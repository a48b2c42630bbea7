#include "toolkit/controls/IBitmapControl.h"

#include <cmath>

namespace qd3 {

IBitmapControl::IBitmapControl(float x, float y, const IBitmap& bmp, int param)
    : IControl(IRECT::MakeXYWH(x, y, bmp.FW(), bmp.FH()), param), mBitmap(bmp) {}

IBitmapControl::IBitmapControl(const IRECT& bounds, const IBitmap& bmp, int param)
    : IControl(bounds, param), mBitmap(bmp) {}

int IBitmapControl::CurrentFrame() const {
  return static_cast<int>(std::lround(mValue * (mBitmap.N() - 1)));
}

void IBitmapControl::Draw(IDrawContext& g) {
  g.DrawBitmap(mBitmap, mRect.L, mRect.T, CurrentFrame());
}

}  // namespace qd3
