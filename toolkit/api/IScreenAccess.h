#pragma once

#include <string_view>

#include "toolkit/api/IControlHandle.h"

namespace qd3 {

// Find-by-tag and group operations on the open editor window. The editor holds a
// pointer to one of these only while its window is open; a null pointer means
// every screen effect is skipped.
class IScreenAccess {
 public:
  virtual ~IScreenAccess() = default;

  // nullptr when no attached control carries the tag.
  virtual IControlHandle* GetControlWithTag(int tag) = 0;
  virtual void HideGroup(std::string_view group, bool hide) = 0;
  virtual void DisableGroup(std::string_view group, bool disable) = 0;
};

}  // namespace qd3
