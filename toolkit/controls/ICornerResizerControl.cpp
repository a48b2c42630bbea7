#include "toolkit/controls/ICornerResizerControl.h"

#include <algorithm>
#include <cmath>

#include "toolkit/IGraphics.h"

namespace qd3 {

ICornerResizerControl::ICornerResizerControl(const IRECT& canvas, float handleSize)
    : IControl(IRECT(canvas.R - handleSize, canvas.B - handleSize, canvas.R, canvas.B)),
      mSize(handleSize) {
  SetTooltip("Drag to resize");
  mRedrawOnHover = true;
}

void ICornerResizerControl::PlaceInCanvas(const IRECT& canvas) {
  SetRECT(IRECT(canvas.R - mSize, canvas.B - mSize, canvas.R, canvas.B));
}

void ICornerResizerControl::Draw(IDrawContext& g) {
  if (!mOuseIsOver && !mDragging) return;
  const IColor c{200, 200, 200, 200};
  for (int i = 1; i <= 3; ++i) {
    const float o = mSize * i / 4.f;
    g.DrawLine(c, mRect.R - o, mRect.B - 1, mRect.R - 1, mRect.B - o, 1.5f);
  }
}

void ICornerResizerControl::OnMouseDown(float x, float y, const IMouseMod&) {
  if (!mUi) return;
  const float s = mUi->GetDrawScale();
  mDragging = true;
  mGrabOffsetX = mUi->Width() * s - x * s;
  mGrabOffsetY = mUi->Height() * s - y * s;
  SetDirty();
}

void ICornerResizerControl::OnMouseDrag(float x, float y, float, float, const IMouseMod&) {
  if (!mUi || !mDragging) return;
  const float s = mUi->GetDrawScale();
  const float wantW = x * s + mGrabOffsetX;
  const float wantH = y * s + mGrabOffsetY;
  const float next = std::clamp((wantW / mUi->Width() + wantH / mUi->Height()) / 2.f,
                                mUi->MinScale(), mUi->MaxScale());
  if (std::fabs(next - s) > 1e-4f) mUi->Resize(mUi->Width(), mUi->Height(), next);
}

void ICornerResizerControl::OnMouseUp(float, float, const IMouseMod&) {
  mDragging = false;
  SetDirty();
}

}  // namespace qd3
