// The input side of IGraphics: window pixels in, design units out to controls.
#include "toolkit/IGraphics.h"
#include "toolkit/api/IEditorDelegate.h"
#include "toolkit/controls/ICornerResizerControl.h"
#include "toolkit/controls/IPopupMenuControl.h"
#include "toolkit/controls/ITextEntryControl.h"

namespace qd3 {

IControl* IGraphics::GetControlAt(float x, float y) const {
  for (auto it = mControls.rbegin(); it != mControls.rend(); ++it) {
    IControl* c = it->get();
    if (!c->IsHidden() && !c->GetIgnoreMouse() && c->IsHit(x, y)) return c;
  }
  return nullptr;
}

// The canvas's own controls lie above everything attached.
IControl* IGraphics::OverlayAt(float x, float y) const {
  if (mPopupMenu->IsOpen()) return mPopupMenu.get();
  if (mTextEntry->IsActive() && mTextEntry->IsHit(x, y)) return mTextEntry.get();
  if (mCornerResizer && mCornerResizer->IsHit(x, y)) return mCornerResizer.get();
  return nullptr;
}

void IGraphics::OnMouseDown(float wx, float wy, const IMouseMod& mod) {
  const float x = wx / mScale;
  const float y = wy / mScale;
  mLastX = x;
  mLastY = y;
  SetTooltip({});
  if (mPopupMenu->IsOpen()) {
    mPopupMenu->OnMouseDown(x, y, mod);
    return;
  }
  if (mTextEntry->IsActive()) {
    if (mTextEntry->IsHit(x, y)) return;
    mTextEntry->Commit();
  }
  IControl* c = OverlayAt(x, y);
  if (!c) c = GetControlAt(x, y);
  if (!c || c->IsDisabled()) return;  // a disabled control swallows the press
  mCaptured = c;
  BeginGesture(*c, false);
  c->OnMouseDown(x, y, mod);
}

void IGraphics::OnMouseDblClick(float wx, float wy, const IMouseMod& mod) {
  const float x = wx / mScale;
  const float y = wy / mScale;
  mLastX = x;
  mLastY = y;
  if (mPopupMenu->IsOpen() || mTextEntry->IsActive()) return;
  IControl* c = OverlayAt(x, y);
  if (!c) c = GetControlAt(x, y);
  if (!c || c->IsDisabled()) return;
  mCaptured = c;
  BeginGesture(*c, false);
  c->OnMouseDblClick(x, y, mod);
}

void IGraphics::OnMouseUp(float wx, float wy, const IMouseMod& mod) {
  const float x = wx / mScale;
  const float y = wy / mScale;
  mLastX = x;
  mLastY = y;
  if (IControl* c = mCaptured) {
    mCaptured = nullptr;
    c->OnMouseUp(x, y, mod);
  }
  EndGesture();
  UpdateMouseOver(x, y, mod);
}

void IGraphics::OnMouseMove(float wx, float wy, const IMouseMod& mod) {
  const float x = wx / mScale;
  const float y = wy / mScale;
  const float dx = x - mLastX;
  const float dy = y - mLastY;
  mLastX = x;
  mLastY = y;
  if (mCaptured) {
    mCaptured->OnMouseDrag(x, y, dx, dy, mod);
    return;
  }
  UpdateMouseOver(x, y, mod);
}

void IGraphics::OnMouseWheel(float wx, float wy, const IMouseMod& mod, float delta) {
  const float x = wx / mScale;
  const float y = wy / mScale;
  if (mPopupMenu->IsOpen()) return;
  IControl* c = GetControlAt(x, y);
  if (c && !c->IsDisabled()) {
    // A notch during a drag belongs to the drag's gesture.
    const bool own = !mGestureOpen;
    if (own) BeginGesture(*c, true);
    c->OnMouseWheel(x, y, mod, delta);
    if (own) EndGesture();
  }
  RefreshTooltip();
}

void IGraphics::BeginGesture(const IControl& c, bool wheel) {
  const int idx = c.GetParamIdx();
  if (!mDelegate || idx <= kNoParameter || idx >= mDelegate->NParams()) return;
  // A double click comes inside the press that began the gesture.
  if (mGestureOpen) return;
  mGestureOpen = true;
  mDelegate->BeginParamGesture(idx, wheel);
}

void IGraphics::EndGesture() {
  if (!mGestureOpen) return;
  mGestureOpen = false;
  if (mDelegate) mDelegate->EndParamGesture();
}

void IGraphics::OnMouseOut() {
  if (mOuseOver) {
    IControl* c = mOuseOver;
    mOuseOver = nullptr;
    c->OnMouseOut();
  }
  SetTooltip({});
}

bool IGraphics::OnKeyDown(float wx, float wy, const IKeyPress& key) {
  const float x = wx / mScale;
  const float y = wy / mScale;
  if (mTextEntry->IsActive()) return mTextEntry->OnKeyDown(x, y, key);
  if (mPopupMenu->IsOpen()) return mPopupMenu->OnKeyDown(x, y, key);
  IControl* c = GetControlAt(x, y);
  if (c && !c->IsDisabled() && c->OnKeyDown(x, y, key)) return true;
  return mUnhandledKey && mUnhandledKey(key);
}

void IGraphics::EnableMouseOver(bool enable) {
  mOuseOverEnabled = enable;
  if (!enable) {
    OnMouseOut();
    mTooltipsEnabled = false;
  }
}

void IGraphics::EnableTooltips(bool enable) {
  mTooltipsEnabled = enable;
  if (enable) mOuseOverEnabled = true;
  if (!enable) SetTooltip({});
}

void IGraphics::UpdateMouseOver(float x, float y, const IMouseMod& mod) {
  if (!mOuseOverEnabled) return;
  IControl* c = OverlayAt(x, y);
  if (!c) c = GetControlAt(x, y);
  if (c && c->IsDisabled()) c = nullptr;
  if (c != mOuseOver) {
    if (mOuseOver) mOuseOver->OnMouseOut();
    mOuseOver = c;
  }
  SetTooltip(c ? c->GetTooltipText() : std::string());
  if (c) c->OnMouseOver(x, y, mod);
}

// The control under the mouse may show its value in the tooltip: after a
// change, the text follows (not while a button is held, when tips are hidden).
void IGraphics::RefreshTooltip() {
  if (mOuseOver && !mCaptured) SetTooltip(mOuseOver->GetTooltipText());
}

void IGraphics::SetTooltip(const std::string& text) {
  const std::string shown = mTooltipsEnabled ? text : std::string();
  if (shown == mCurrentTooltip) return;
  mCurrentTooltip = shown;
  if (mTooltipListener) mTooltipListener(mCurrentTooltip);
}

void IGraphics::OnControlLostInput(IControl& control) {
  if (mCaptured == &control) mCaptured = nullptr;
  if (mOuseOver == &control) {
    mOuseOver = nullptr;
    SetTooltip({});
  }
  if (mTextEntry->Caller() == &control) mTextEntry->Cancel();
}

}  // namespace qd3
