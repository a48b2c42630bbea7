#pragma once

#include <optional>
#include <span>

#include "params/PageNumbers.h"

namespace qd3 {

// The detail page a change of parameter `index` opens, before the skip rule:
// 9 -> 1, 8 -> 3, 74 -> 4, 15 -> 5, 6 -> 10, 12 and 13 -> 11, 7 -> 12, 5 -> 13,
// 1 -> 14 (except while the drive page is shown, which also holds the pre-amp's
// gain), 0 -> 15, 61 -> 16. nullopt for every other parameter. The IR page is
// also opened by the IR display refresh, which its owner asks for itself.
std::optional<int> PageOpenedBy(int index, int currentPage);

// The skip rule of every page switch: nothing happens when the page is already
// shown or while values from the pedal, a template or a file are being applied.
inline bool PageSwitchRuns(int page, int currentPage, bool applyingDeviceValues) {
  return page != currentPage && !applyingDeviceValues;
}

// Both together: the page ShowPage must be called with after a change of
// `index`, or nullopt.
std::optional<int> PageToShowAfterChange(int index, int currentPage, bool applyingDeviceValues);

// What ShowPage(n) shows after hiding every detail group (DetailPageGroups) and
// the dynamics graph.
struct PageContents {
  int page = kPageNone;
  std::span<const char* const> groups;  // shown, in this order
  bool dynamicsGraph = false;
  // Tag 93, "CLICK HERE TO EDIT IMPULSE RESPONSE": shown on every page but the
  // IR page itself.
  bool irHint = true;
};
// nullptr for a number that is no detail page; the contents are static.
const PageContents* PageContentsFor(int page);

// Every group ShowPage hides first, in the order it hides them.
std::span<const char* const> DetailPageGroups();

}  // namespace qd3
