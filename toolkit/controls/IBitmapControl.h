#pragma once

#include "toolkit/IControl.h"

namespace qd3 {

// A picture. With more than one frame the value picks the frame
// (0 -> first, 1 -> last). It takes the mouse but does nothing with it, so it
// covers what lies beneath.
class IBitmapControl : public IControl {
 public:
  // Top-left corner; the rectangle is the frame size.
  IBitmapControl(float x, float y, const IBitmap& bitmap, int paramIdx = kNoParameter);
  IBitmapControl(const IRECT& bounds, const IBitmap& bitmap, int paramIdx = kNoParameter);

  void Draw(IDrawContext& g) override;
  int CurrentFrame() const;
  const IBitmap& GetBitmap() const { return mBitmap; }

 private:
  IBitmap mBitmap;
};

}  // namespace qd3
