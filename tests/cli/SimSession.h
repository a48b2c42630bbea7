#pragma once

// The simulated pedal on virtual time for the session driver: each tick moves the
// wire's clock 100 ms in 1 ms steps and drains the host's queues after every step, so
// no burst overflows the SysEx queue. SimRig is that pedal with a command's context, a
// folder of its own and the command's two streams.

#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <sstream>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/TickSource.h"
#include "simulator/DefaultState.h"
#include "simulator/SimulatedMidiLink.h"
#include "tests/support/TempFolder.h"

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

inline cli::CliArgs SessionArgs(cli::Command command, const std::filesystem::path& file) {
  cli::CliArgs args;
  args.command = command;
  args.inPort = sim::kSimulatorPortName;
  args.outPort = sim::kSimulatorPortName;
  args.file = file.string();
  return args;
}

struct SimRig {
  explicit SimRig(sim::PedalState state = sim::DefaultPedalState()) : link({}, std::move(state)) {
    context.transport = &link;
    context.ticks = &ticks;
    context.localTime = FixedLocalTime;
    context.baseFolder = folder.Path() / "base";
  }
  sim::PedalState Snapshot() const { return link.Pedal().Snapshot(); }
  int Handled() const {
    return link.Pedal().Inspect([](const sim::PedalModel& m) { return m.Counters().handled; });
  }

  sim::SimulatedMidiLink link;
  SimTicks ticks{link};
  cli::SessionContext context;
  TempFolder folder;
  std::ostringstream out;
  std::ostringstream err;
};

}  // namespace qd3::test
