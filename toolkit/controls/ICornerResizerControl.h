#pragma once

#include "toolkit/IControl.h"

namespace qd3 {

// The handle in the bottom-right corner of the canvas. Dragging it changes the
// draw scale so that the window's corner follows the pointer; the layout in
// design units stays as it is.
class ICornerResizerControl : public IControl {
 public:
  ICornerResizerControl(const IRECT& canvas, float size);

  void Draw(IDrawContext& g) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  // Keeps the handle in the corner of a canvas of that design size.
  void PlaceInCanvas(const IRECT& canvas);
  bool IsDragging() const { return mDragging; }
  float HandleSize() const { return mSize; }

 private:
  float mSize;
  bool mDragging = false;
  float mGrabOffsetX = 0.f;  // window pixels from the pointer to the window's corner
  float mGrabOffsetY = 0.f;
};

}  // namespace qd3
