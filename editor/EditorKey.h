#pragma once

// The editor's shortcut keys, as the screen maps them (a key a control or the text entry
// takes never becomes one).

#include <cstdint>

namespace qd3 {

enum class EditorKey : uint8_t {
  kPreviousPreset,
  kNextPreset,
  kStore,
  kCloseOverlay,
  // The preset list: the highlight one row or a page up or down, to the first or last
  // slot, and the highlighted slot picked as a click on its row would.
  kListUp,
  kListDown,
  kListPageUp,
  kListPageDown,
  kListFirst,
  kListLast,
  kListPick,
  // Ctrl+Z; Ctrl+Shift+Z and Ctrl+Y; C for COMPARE.
  kUndo,
  kRedo,
  kCompare,
};

}  // namespace qd3
