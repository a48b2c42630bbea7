// The arrows and Ctrl+S on the pedal face. The switches have no actions yet, so no
// key is taken.
#include "QD3Control.h"

namespace qd3 {

bool QD3Control::HandlePedalFaceKey(EditorKey /*key*/) {
  return false;
}

}  // namespace qd3
