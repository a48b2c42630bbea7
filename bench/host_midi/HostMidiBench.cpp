// Costs of the MIDI port layer: the input callback (RtMidi's thread), the time a
// SysEx takes from entering the callback to the drain handing it on, and the
// synchronous send with its lock.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "host/IMidiPortSettings.h"
#include "host/MidiPorts.h"
#include "host/MidiReceiveQueues.h"

namespace qd3 {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<uint8_t> Sysex(size_t size) {
  std::vector<uint8_t> bytes(size, 0x2A);
  bytes.front() = 0xF0;
  bytes.back() = 0xF7;
  return bytes;
}

void Ignore(const uint8_t* bytes, size_t size) {
  benchmark::DoNotOptimize(bytes);
  benchmark::DoNotOptimize(size);
}

// The callback alone: a batch that fills the ring is timed, the drain that
// empties it again is not. Reported time is per message.
void BM_InputCallback(benchmark::State& state) {
  const auto size = static_cast<size_t>(state.range(0));
  const std::vector<uint8_t> noteOn = {0x90, 0x3C, 0x64};
  const std::vector<uint8_t> message =
      size <= kMaxShortMidiSize ? std::vector<uint8_t>(noteOn.begin(), noteOn.begin() + size)
                                : Sysex(size);
  const size_t batch = size <= kMaxShortMidiSize ? kShortMidiQueueCapacity : kSysexQueueCapacity;
  MidiReceiveQueues queues;
  for (auto _ : state) {
    const auto start = Clock::now();
    for (size_t i = 0; i < batch; ++i) {
      MidiReceiveQueues::InputCallback(message.data(), message.size(), &queues);
    }
    const auto end = Clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count() /
                           static_cast<double>(batch));
    queues.Drain(IgnoreShortMidiMessage, Ignore);
  }
  if (queues.DroppedShortCount() + queues.DroppedSysexCount() != 0) {
    state.SkipWithError("messages were dropped: the batch does not fit the ring");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * message.size()));
}
BENCHMARK(BM_InputCallback)->Arg(3)->Arg(10)->Arg(267)->Arg(512)->UseManualTime();

// One message through the callback and straight out of the drain again.
void BM_CallbackThenDrain(benchmark::State& state) {
  const std::vector<uint8_t> message = Sysex(static_cast<size_t>(state.range(0)));
  MidiReceiveQueues queues;
  for (auto _ : state) {
    MidiReceiveQueues::InputCallback(message.data(), message.size(), &queues);
    queues.Drain(IgnoreShortMidiMessage, Ignore);
  }
}
BENCHMARK(BM_CallbackThenDrain)->Arg(10)->Arg(267)->Arg(512);

// From the moment a SysEx enters the callback on a producer thread to the moment
// the SysEx handler starts in the drain pass on the consumer thread. Arg 0: the
// drain spins; arg N > 0: the drain runs every N microseconds, as the audio
// callback would (10667 us = 512 frames at 48 kHz).
void BM_CallbackToHandlerLatency(benchmark::State& state) {
  const auto periodUs = static_cast<int>(state.range(0));
  const int messages = periodUs == 0 ? 2000 : 300;
  // At most two messages per drain period, so that the ring never overflows
  // while the drain keeps its pace.
  const auto spacing = std::chrono::microseconds(periodUs == 0 ? 250 : periodUs / 2 + 7);

  std::vector<double> latenciesUs;
  latenciesUs.reserve(static_cast<size_t>(messages));
  uint64_t dropped = 0;
  for (auto _ : state) {
    latenciesUs.clear();
    MidiReceiveQueues queues;
    std::atomic<bool> producerDone{false};
    std::thread producer([&] {
      std::vector<uint8_t> message = Sysex(267);
      auto next = Clock::now();
      for (int i = 0; i < messages; ++i) {
        // Sleeps like an input thread waiting for the next message.
        next += spacing;
        std::this_thread::sleep_until(next);
        const int64_t stamp = Clock::now().time_since_epoch().count();
        std::memcpy(message.data() + 1, &stamp, sizeof stamp);
        MidiReceiveQueues::InputCallback(message.data(), message.size(), &queues);
      }
      producerDone.store(true, std::memory_order_release);
    });

    auto onSysex = [&](const uint8_t* bytes, size_t) {
      const int64_t now = Clock::now().time_since_epoch().count();
      int64_t stamp = 0;
      std::memcpy(&stamp, bytes + 1, sizeof stamp);
      latenciesUs.push_back(
          std::chrono::duration<double, std::micro>(Clock::duration(now - stamp)).count());
    };
    auto nextPass = Clock::now();
    while (!producerDone.load(std::memory_order_acquire)) {
      if (periodUs > 0) {
        nextPass += std::chrono::microseconds(periodUs);
        std::this_thread::sleep_until(nextPass);
      }
      queues.Drain(IgnoreShortMidiMessage, onSysex);
    }
    producer.join();
    queues.Drain(IgnoreShortMidiMessage, onSysex);
    dropped = queues.DroppedSysexCount();
  }

  std::sort(latenciesUs.begin(), latenciesUs.end());
  auto quantile = [&](double q) {
    if (latenciesUs.empty()) return 0.0;
    return latenciesUs[static_cast<size_t>(q * static_cast<double>(latenciesUs.size() - 1))];
  };
  state.counters["median_us"] = quantile(0.5);
  state.counters["p99_us"] = quantile(0.99);
  state.counters["max_us"] = quantile(1.0);
  state.counters["received"] = static_cast<double>(latenciesUs.size());
  state.counters["dropped"] = static_cast<double>(dropped);
}
BENCHMARK(BM_CallbackToHandlerLatency)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(10667)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// A transport that only copies the message, so the figure is the send path's
// own cost: the lock, the object check and one virtual call.
class CopyingTransport : public IMidiTransport {
 public:
  bool HasPort(MidiDirection) const override { return true; }
  std::vector<std::string> PortNames(MidiDirection) override { return {}; }
  bool OpenPort(MidiDirection, unsigned, const std::string&) override { return true; }
  void ClosePort(MidiDirection) override {}
  void SetInputCallback(InputCallback, void*) override {}
  void CancelInputCallback() override {}
  bool Send(std::span<const uint8_t> message) override {
    std::memcpy(mWire.data(), message.data(), std::min(message.size(), mWire.size()));
    benchmark::ClobberMemory();
    return true;
  }

 private:
  std::array<uint8_t, 1024> mWire{};
};

class NoSettings : public IMidiPortSettings {
 public:
  std::string Name(MidiDirection) const override { return kMidiPortOff; }
  void SetName(MidiDirection, std::string) override {}
  void Save() override {}
};

void BM_SendDeviceMessage(benchmark::State& state) {
  static CopyingTransport transport;
  static NoSettings settings;
  static MidiPorts ports(transport, settings);
  const std::vector<uint8_t> message = Sysex(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ports.SendDeviceMessage(message));
}
BENCHMARK(BM_SendDeviceMessage)->Arg(10)->Arg(267);
BENCHMARK(BM_SendDeviceMessage)->Arg(10)->Threads(2)->UseRealTime();

}  // namespace
}  // namespace qd3

BENCHMARK_MAIN();
