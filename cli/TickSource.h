#pragma once

// Time for the session driver: one call lets one 100 ms device-timer tick pass. While
// the time passes, the source calls `drain` often enough that the host's receive queues
// (four SysEx messages) never overflow; the driver hands what arrived to its dispatcher
// there. A real clock sleeps; a test's clock moves the simulated pedal's virtual time.

#include <chrono>
#include <functional>

namespace qd3::cli {

inline constexpr std::chrono::milliseconds kTickLength{100};

class ITickSource {
 public:
  virtual ~ITickSource() = default;
  virtual void PassTick(const std::function<void()>& drain) = 0;
};

// The steady clock: sleeps through the tick in short steps, draining after each, and
// keeps ticks 100 ms apart on average however long the work between them takes.
class RealTimeTicks final : public ITickSource {
 public:
  void PassTick(const std::function<void()>& drain) override;

 private:
  std::chrono::steady_clock::time_point mNext{};
};

}  // namespace qd3::cli
