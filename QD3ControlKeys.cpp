// Keyboard shortcuts. An open overlay takes the key first, so Escape never reaches
// the pedal face and the arrows do not step presets behind a settings page.
#include "QD3Control.h"

namespace qd3 {

bool QD3Control::OnEditorKey(EditorKey key) {
  return HandleOverlayKey(key) || HandlePedalFaceKey(key);
}

}  // namespace qd3
