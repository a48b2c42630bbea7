// Escape on an open overlay closes the topmost one exactly as its own close control
// would. While a page covers the pedal face no other shortcut reaches it.
#include "QD3Control.h"

namespace qd3 {

bool QD3Control::HandleOverlayKey(EditorKey key) {
  const bool close = key == EditorKey::kCloseOverlay;
  // Topmost first: the about screen lies above the settings pages, which lie above
  // the firmware screen.
  if (mOverlays.about) {
    if (close) CloseAbout();
    return true;
  }
  if (mOverlays.programMap) {
    if (close) CloseProgramMap();
    return true;
  }
  if (mOverlays.controllerMap) {
    if (close) CloseControllerMap();
    return true;
  }
  if (mOverlays.settings) {
    if (close) CloseGlobalSettings();
    return true;
  }
  if (FirmwareScreenShown()) {
    // While the image streams the "X" is disabled, and so is Escape.
    if (close && !session.firmwareMode) CloseFirmwareUpdate();
    return true;
  }
  return false;
}

bool QD3Control::FirmwareScreenShown() {
  if (!mScreen) return false;
  const IControlHandle* background = mScreen->GetControlWithTag(kTagFirmwareBackground);
  return background && !background->IsHidden();
}

}  // namespace qd3
