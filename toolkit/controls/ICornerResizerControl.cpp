#include "controls/ICornerResizerControl.h"

#include <algorithm>
#include <cmath>

#include "IGraphics.h"

namespace qd3 {

ICornerResizerControl::ICornerResizerControl(const IRECT& canvas, float handleSize)
    : IControl(IRECT(canvas.R - handleSize, canvas.B - handleSize, canvas.R, canvas.B)),
      size(handleSize) {
  SetTooltip("Drag to resize");
  redrawOnHover = true;
}

void ICornerResizerControl::PlaceInCanvas(const IRECT& canvas) {
  SetRECT(IRECT(canvas.R - size, canvas.B - size, canvas.R, canvas.B));
}

void ICornerResizerControl::Draw(IDrawContext& g) {
  if (!mouseIsOver && !dragging) return;
  const IColor c{200, 200, 200, 200};
  for (int i = 1; i <= 3; ++i) {
    const float o = size * i / 4.f;
    g.DrawLine(c, rect.R - o, rect.B - 1, rect.R - 1, rect.B - o, 1.5f);
  }
}

void ICornerResizerControl::OnMouseDown(float x, float y, const IMouseMod&) {
  if (!ui) return;
  const float s = ui->GetDrawScale();
  dragging = true;
  grabOffsetX = ui->Width() * s - x * s;
  grabOffsetY = ui->Height() * s - y * s;
  SetDirty();
}

void ICornerResizerControl::OnMouseDrag(float x, float y, float, float, const IMouseMod&) {
  if (!ui || !dragging) return;
  const float s = ui->GetDrawScale();
  const float wantW = x * s + grabOffsetX;
  const float wantH = y * s + grabOffsetY;
  const float next = std::clamp((wantW / ui->Width() + wantH / ui->Height()) / 2.f, ui->MinScale(),
                                ui->MaxScale());
  if (std::fabs(next - s) > 1e-4f) ui->Resize(ui->Width(), ui->Height(), next);
}

void ICornerResizerControl::OnMouseUp(float, float, const IMouseMod&) {
  dragging = false;
  SetDirty();
}

}  // namespace qd3
