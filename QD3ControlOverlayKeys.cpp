// Escape on an open overlay. No overlay screen exists yet, so no key is taken.
#include "QD3Control.h"

namespace qd3 {

bool QD3Control::HandleOverlayKey(EditorKey /*key*/) {
  return false;
}

}  // namespace qd3
