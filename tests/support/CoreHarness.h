#pragma once

// A headless editor wired to the in-process simulated pedal through the real MIDI
// port layer: its receive rings, its drain pass and its send path. Time is virtual:
// the test decides how long passes, and every 64-frame audio pass and every 100 ms
// device tick happens in order, as in the running program.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "QD3Control.h"
#include "host/MidiPorts.h"
#include "simulator/DefaultState.h"
#include "simulator/SimulatedMidiLink.h"
#include "tests/support/CapturedMessages.h"
#include "tests/support/FakeScreen.h"
#include "tests/support/ScriptedPlatformServices.h"
#include "tests/support/TempFolder.h"

namespace qd3::test {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

// Stored port names, kept in memory.
class MemoryPortSettings : public IMidiPortSettings {
 public:
  std::string Name(MidiDirection d) const override {
    return d == MidiDirection::kInput ? input : output;
  }
  void SetName(MidiDirection d, std::string name) override {
    (d == MidiDirection::kInput ? input : output) = std::move(name);
  }
  void Save() override { ++saves; }

  std::string input = sim::kSimulatorPortName;
  std::string output = sim::kSimulatorPortName;
  int saves = 0;
};

class CoreHarness {
 public:
  // One audio pass: 64 frames at 44.1 kHz.
  static constexpr std::chrono::microseconds kPass{1451};
  static constexpr std::chrono::microseconds kTick{100000};
  static constexpr std::chrono::microseconds kIdleTick{20000};

  explicit CoreHarness(sim::PedalState state = sim::DefaultPedalState())
      : link(sim::LinkOptions{}, std::move(state)), ports(link, settings) {
    ScriptedPlatformServices::sOnCallInsideDeviceWork = [](const std::string& what) {
      ADD_FAILURE() << "a box or dialog opened from a device tick or message handler: \"" << what
                    << "\"";
    };
    ports.Start();
    editor.OpenCache(folder.Path());
    editor.SetDeviceMessageSink([this](std::span<const uint8_t> m) {
      sent.messages.emplace_back(m.begin(), m.end());
      ports.SendDeviceMessage(m);
    });
  }

  void OpenWindow(std::initializer_list<int> tags) {
    for (int tag : tags) screen.Add(tag);
    editor.AttachScreen(&screen);
  }

  // Runs the audio passes and device ticks that fall into `duration`.
  void RunFor(std::chrono::microseconds duration) {
    const auto end = now + duration;
    while (now < end) {
      now += kPass;
      link.AdvanceBy(kPass);
      ScriptedPlatformServices::sInsideDeviceWork = true;
      ports.DrainMidiQueues([this](const uint8_t* b, size_t n) {
        received.emplace_back(b, b + n);
        editor.HandleDeviceMessage(b, n);
      });
      if (now >= nextTick) {
        nextTick += kTick;
        editor.OnDeviceTimer();
      }
      ScriptedPlatformServices::sInsideDeviceWork = false;
      if (idleTicks && now >= nextIdleTick) {
        nextIdleTick += kIdleTick;
        editor.OnIdleTick();
      }
    }
  }
  // Runs until `done` holds or `limit` has passed; true when it held.
  bool RunUntil(const std::function<bool()>& done, std::chrono::microseconds limit) {
    const auto end = now + limit;
    while (!done() && now < end) RunFor(kPass);
    return done();
  }
  bool Connect() {
    return RunUntil([this] { return editor.session.connected; }, 5s);
  }
  // Connects and lets the handshake run to its end: checksums, any synchronisation,
  // global settings and the current preset.
  bool ConnectAndSettle() {
    if (!Connect()) return false;
    RunFor(3s);
    return editor.session.connected && !editor.session.readAllActive;
  }
  int PedalEditorClosings() const {
    return link.Pedal().Inspect(
        [](const sim::PedalModel& m) { return m.Counters().editorClosings; });
  }
  uint8_t LastSentCommand() const { return sent.messages.back()[kCommandOffset]; }
  // The commands sent since message `from`, with the byte after the command (the
  // slot or block type) where the message has one.
  std::vector<std::pair<int, int>> SentSince(size_t from) const {
    std::vector<std::pair<int, int>> out;
    for (size_t i = from; i < sent.messages.size(); ++i) {
      const Bytes& m = sent.messages[i];
      out.emplace_back(m[kCommandOffset], m.size() > 8 ? m[kSelectorOffset] : -1);
    }
    return out;
  }

  TempFolder folder;
  MemoryPortSettings settings;
  sim::SimulatedMidiLink link;
  MidiPorts ports;
  QD3Control editor;
  CapturedMessages sent;
  std::vector<Bytes> received;  // everything the pedal sent, in arrival order
  FakeScreen screen;
  std::chrono::microseconds now{0};
  std::chrono::microseconds nextTick{kTick};
  // The 20 ms idle tick, which shows the boxes the editor posted, as the program runs it.
  bool idleTicks = true;
  std::chrono::microseconds nextIdleTick{kIdleTick};
};

}  // namespace qd3::test
