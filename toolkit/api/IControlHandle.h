#pragma once

#include <string>
#include <string_view>

#include "toolkit/api/IColor.h"

namespace qd3 {

// What code outside the screens may do to one attached control. Every control of
// the toolkit is one; operations that do not apply to a control kind are ignored.
class IControlHandle {
 public:
  virtual ~IControlHandle() = default;

  virtual void SetStr(std::string_view text) = 0;
  virtual std::string GetStr() const = 0;
  virtual void SetTextColor(const IColor& color) = 0;
  // Display only: the bound parameter is not notified.
  virtual void SetValueFromCode(double normalized) = 0;
  virtual double GetValue() const = 0;
  virtual void Hide(bool hide) = 0;
  virtual bool IsHidden() const = 0;
  virtual void SetDisabled(bool disable) = 0;
  virtual bool IsDisabled() const = 0;
  // Moves the top-left corner, keeping the size, in design units.
  virtual void MoveTo(float x, float y) = 0;
  virtual void SetDirty() = 0;
};

}  // namespace qd3
