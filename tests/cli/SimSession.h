#pragma once

// The simulated pedal on virtual time for the session driver: each tick moves the
// wire's clock 100 ms in 1 ms steps and drains the host's queues after every step, so
// no burst overflows the SysEx queue.

#include <chrono>
#include <ctime>
#include <functional>

#include "cli/Commands.h"
#include "cli/TickSource.h"
#include "simulator/SimulatedMidiLink.h"

namespace qd3::test {

class SimTicks final : public cli::ITickSource {
 public:
  explicit SimTicks(sim::SimulatedMidiLink& link) : mLink(link) {}
  void PassTick(const std::function<void()>& drain) override {
    ++ticks;
    for (int ms = 0; ms < 100; ++ms) {
      mLink.AdvanceBy(std::chrono::milliseconds(1));
      drain();
    }
  }
  int ticks = 0;

 private:
  sim::SimulatedMidiLink& mLink;
};

inline std::tm FixedLocalTime() {
  std::tm t{};
  t.tm_year = 2024 - 1900;
  t.tm_mon = 2;
  t.tm_mday = 7;
  t.tm_hour = 9;
  t.tm_min = 5;
  t.tm_sec = 3;
  return t;
}

}  // namespace qd3::test
