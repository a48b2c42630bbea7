#pragma once

#include <string_view>
#include <vector>

#include "toolkit/api/ControlTag.h"
#include "toolkit/api/IControlHandle.h"

namespace qd3 {

// Find-by-tag and group operations on the open editor window. The editor holds a
// pointer to one of these only while its window is open; a null pointer means
// every screen effect is skipped.
class IScreenAccess {
 public:
  // One control the player sees at a point.
  struct ScreenHit {
    IControlHandle* control = nullptr;
    int tag = kNoTag;
    int paramIdx = -1;  // none bound
  };

  virtual ~IScreenAccess() = default;

  // nullptr when no attached control carries the tag.
  virtual IControlHandle* GetControlWithTag(int tag) = 0;
  virtual void HideGroup(std::string_view group, bool hide) = 0;
  virtual void DisableGroup(std::string_view group, bool disable) = 0;
  // Every shown control whose rectangle holds the design point, topmost first, whether or
  // not it takes the mouse: what lies under a file dropped there.
  virtual std::vector<ScreenHit> ControlsAt(float /*x*/, float /*y*/) { return {}; }
};

}  // namespace qd3
