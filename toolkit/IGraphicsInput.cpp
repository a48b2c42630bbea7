// The input side of IGraphics: window pixels in, design units out to controls.
#include "IGraphics.h"
#include "controls/ICornerResizerControl.h"
#include "controls/IPopupMenuControl.h"
#include "controls/ITextEntryControl.h"

namespace qd3 {

IControl* IGraphics::GetControlAt(float x, float y) const {
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    IControl* c = it->get();
    if (!c->IsHidden() && !c->GetIgnoreMouse() && c->IsHit(x, y)) return c;
  }
  return nullptr;
}

// The canvas's own controls lie above everything attached.
IControl* IGraphics::OverlayAt(float x, float y) const {
  if (popupMenu->IsOpen()) return popupMenu.get();
  if (textEntry->IsActive() && textEntry->IsHit(x, y)) return textEntry.get();
  if (cornerResizer && cornerResizer->IsHit(x, y)) return cornerResizer.get();
  return nullptr;
}

void IGraphics::OnMouseDown(float wx, float wy, const IMouseMod& mod) {
  const float x = wx / scale;
  const float y = wy / scale;
  lastX = x;
  lastY = y;
  SetTooltip({});
  if (popupMenu->IsOpen()) {
    popupMenu->OnMouseDown(x, y, mod);
    return;
  }
  if (textEntry->IsActive()) {
    if (textEntry->IsHit(x, y)) return;
    textEntry->Commit();
  }
  IControl* c = OverlayAt(x, y);
  if (!c) c = GetControlAt(x, y);
  if (!c || c->IsDisabled()) return;  // a disabled control swallows the press
  captured = c;
  c->OnMouseDown(x, y, mod);
}

void IGraphics::OnMouseDblClick(float wx, float wy, const IMouseMod& mod) {
  const float x = wx / scale;
  const float y = wy / scale;
  lastX = x;
  lastY = y;
  if (popupMenu->IsOpen() || textEntry->IsActive()) return;
  IControl* c = OverlayAt(x, y);
  if (!c) c = GetControlAt(x, y);
  if (!c || c->IsDisabled()) return;
  captured = c;
  c->OnMouseDblClick(x, y, mod);
}

void IGraphics::OnMouseUp(float wx, float wy, const IMouseMod& mod) {
  const float x = wx / scale;
  const float y = wy / scale;
  lastX = x;
  lastY = y;
  if (IControl* c = captured) {
    captured = nullptr;
    c->OnMouseUp(x, y, mod);
  }
  UpdateMouseOver(x, y, mod);
}

void IGraphics::OnMouseMove(float wx, float wy, const IMouseMod& mod) {
  const float x = wx / scale;
  const float y = wy / scale;
  const float dx = x - lastX;
  const float dy = y - lastY;
  lastX = x;
  lastY = y;
  if (captured) {
    captured->OnMouseDrag(x, y, dx, dy, mod);
    return;
  }
  UpdateMouseOver(x, y, mod);
}

void IGraphics::OnMouseWheel(float wx, float wy, const IMouseMod& mod, float delta) {
  const float x = wx / scale;
  const float y = wy / scale;
  if (popupMenu->IsOpen()) return;
  IControl* c = GetControlAt(x, y);
  if (c && !c->IsDisabled()) c->OnMouseWheel(x, y, mod, delta);
}

void IGraphics::OnMouseOut() {
  if (mouseOver) {
    IControl* c = mouseOver;
    mouseOver = nullptr;
    c->OnMouseOut();
  }
  SetTooltip({});
}

bool IGraphics::OnKeyDown(float wx, float wy, const IKeyPress& key) {
  const float x = wx / scale;
  const float y = wy / scale;
  if (textEntry->IsActive()) return textEntry->OnKeyDown(x, y, key);
  if (popupMenu->IsOpen()) return popupMenu->OnKeyDown(x, y, key);
  IControl* c = GetControlAt(x, y);
  if (!c || c->IsDisabled()) return false;
  return c->OnKeyDown(x, y, key);
}

void IGraphics::EnableMouseOver(bool enable) {
  mouseOverEnabled = enable;
  if (!enable) {
    OnMouseOut();
    tooltipsEnabled = false;
  }
}

void IGraphics::EnableTooltips(bool enable) {
  tooltipsEnabled = enable;
  if (enable) mouseOverEnabled = true;
  if (!enable) SetTooltip({});
}

void IGraphics::UpdateMouseOver(float x, float y, const IMouseMod& mod) {
  if (!mouseOverEnabled) return;
  IControl* c = OverlayAt(x, y);
  if (!c) c = GetControlAt(x, y);
  if (c && c->IsDisabled()) c = nullptr;
  if (c != mouseOver) {
    if (mouseOver) mouseOver->OnMouseOut();
    mouseOver = c;
    SetTooltip(c ? c->GetTooltip() : std::string());
  }
  if (c) c->OnMouseOver(x, y, mod);
}

void IGraphics::SetTooltip(const std::string& text) {
  const std::string shown = tooltipsEnabled ? text : std::string();
  if (shown == currentTooltip) return;
  currentTooltip = shown;
  if (tooltipListener) tooltipListener(currentTooltip);
}

void IGraphics::OnControlLostInput(IControl& control) {
  if (captured == &control) captured = nullptr;
  if (mouseOver == &control) {
    mouseOver = nullptr;
    SetTooltip({});
  }
  if (textEntry->Caller() == &control) textEntry->Cancel();
}

}  // namespace qd3
