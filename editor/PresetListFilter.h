#pragma once

// The preset list's filter: the slots whose row label (number and name) contains the
// typed text, case-insensitive, in slot order; every slot while the text is empty.

#include <array>
#include <string>
#include <vector>

#include "params/DependentValues.h"
#include "protocol/DeviceMessages.h"

namespace qd3 {

class PresetListFilter {
 public:
  using Labels = std::array<std::string, kPresetCount>;

  PresetListFilter();
  // A new text; true when the slots shown changed.
  bool Set(const std::string& text, const Labels& labels);
  // The labels changed (a rename, a synchronisation); true when the slots shown changed.
  bool Refresh(const Labels& labels);
  bool Active() const { return !mNeedle.empty(); }
  const std::vector<int>& Shown() const { return mShown; }
  // The slot's place among those shown; -1 when it is filtered out.
  int IndexOf(int slot) const;

 private:
  std::string mNeedle;  // lower case
  std::vector<int> mShown;
};

}  // namespace qd3
