// A full synchronisation of 128 presets against the simulated pedal at its default
// wire pacing, in real time: the pedal answers from its own thread, the loop here
// plays the audio pass (one drain per 64-frame sub-block, 1.45 ms) and the 100 ms
// device timer. Reported against the physical floor: the wire time of 128 dumps.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "QD3Control.h"
#include "host/MidiPorts.h"
#include "simulator/SimulatedMidiLink.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class Settings : public qd3::IMidiPortSettings {
 public:
  std::string Name(qd3::MidiDirection) const override { return qd3::sim::kSimulatorPortName; }
  void SetName(qd3::MidiDirection, std::string) override {}
  void Save() override {}
};

void BM_FullPresetSync(benchmark::State& state) {
  // The link's default byte rate; the pedal's answer latency in microseconds from
  // the argument (2000 is the link's default, 0 isolates the editor's own share).
  qd3::sim::WireTiming timing;
  timing.latency = std::chrono::microseconds(state.range(0));
  const double floorSeconds =
      qd3::kPresetCount *
      std::chrono::duration<double>(
          qd3::sim::TransmitTime(qd3::kRecordMessageSize, timing.bytesPerSecond))
          .count();
  for (auto _ : state) {
    const auto folder = std::filesystem::temp_directory_path() / "qd3-sync-bench";
    std::filesystem::remove_all(folder);
    Settings settings;
    qd3::sim::SimulatedMidiLink link(qd3::sim::LinkOptions{qd3::sim::DeliveryMode::kPaced, timing});
    qd3::MidiPorts ports(link, settings);
    ports.Start();
    qd3::QD3Control editor;
    editor.OpenCache(folder);
    editor.SetDeviceMessageSink([&](std::span<const uint8_t> m) { ports.SendDeviceMessage(m); });

    Clock::time_point started{}, finished{};
    auto nextTick = Clock::now();
    const auto deadline = Clock::now() + 60s;
    while (Clock::now() < deadline) {
      ports.DrainMidiQueues([&](const uint8_t* b, size_t n) {
        editor.HandleDeviceMessage(b, n);
        if (editor.session.readAllActive && started == Clock::time_point{}) started = Clock::now();
      });
      if (started != Clock::time_point{} && !editor.session.readAllActive) {
        finished = Clock::now();
        break;
      }
      if (Clock::now() >= nextTick) {
        nextTick += 100ms;
        // Until the first poll the timer would wait 3.3 s; that is not part of the
        // synchronisation, so the poll count is brought forward.
        if (!editor.session.connected) editor.session.pollTicks = 32;
        editor.OnDeviceTimer();
      }
      std::this_thread::sleep_for(1451us);
    }
    ports.SetExiting();
    ports.Shutdown();
    std::filesystem::remove_all(folder);
    if (finished == Clock::time_point{}) {
      state.SkipWithError("the synchronisation did not finish");
      return;
    }
    const double seconds = std::chrono::duration<double>(finished - started).count();
    state.SetIterationTime(seconds);
    state.counters["floor_s"] = floorSeconds;
    state.counters["ratio_to_floor"] = seconds / floorSeconds;
  }
}
BENCHMARK(BM_FullPresetSync)
    ->Arg(2000)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
