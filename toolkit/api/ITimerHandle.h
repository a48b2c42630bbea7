#pragma once

namespace qd3 {

// A running periodic timer of the platform; destroying the handle stops it, and
// after the destructor returns the timer's callback never runs again.
class ITimerHandle {
 public:
  virtual ~ITimerHandle() = default;
};

}  // namespace qd3
