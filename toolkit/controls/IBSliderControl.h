#pragma once

#include "toolkit/IControl.h"

namespace qd3 {

// A slider of two pictures: a track drawn at the rectangle's top-left corner and a
// handle centred across it that travels from the bottom (0) to the top (1).
// Dragging moves the value by dY / (travel * gearing), ten times finer with
// shift; the wheel steps it; a double click returns to the default.
class IBSliderControl : public IControl {
 public:
  IBSliderControl(const IRECT& bounds, const IBitmap& handle, const IBitmap& track, int paramIdx,
                  double gearing = 4.0);

  void Draw(IDrawContext& g) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) override;
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  IRECT HandleRECT() const;

 private:
  float Travel() const;

  IBitmap mHandle;
  IBitmap mTrack;
  double mGearing;
};

}  // namespace qd3
