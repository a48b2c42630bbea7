// The arrows and Ctrl+S on the pedal face: each works as a whole click on its
// switch, so the display, the armed states and what is sent follow the switch.
#include "QD3Control.h"

namespace qd3 {

bool QD3Control::HandlePedalFaceKey(EditorKey key) {
  switch (key) {
    case EditorKey::kPreviousPreset:
      // A switch held with the mouse keeps its press; the key would release it.
      if (prevHeld) return false;
      OnPreviousSwitch();
      OnPreviousSwitch();
      return true;
    case EditorKey::kNextPreset:
      if (nextHeld) return false;
      OnNextSwitch();
      OnNextSwitch();
      return true;
    case EditorKey::kStore:
      if (saveHeld) return false;
      // Arm first unless the save button already did, then confirm.
      if (!session.saveArmed) {
        OnSaveButton();
        OnSaveButton();
      }
      OnSaveButton();
      OnSaveButton();
      return true;
    case EditorKey::kCloseOverlay:
      break;
  }
  return false;
}

}  // namespace qd3
