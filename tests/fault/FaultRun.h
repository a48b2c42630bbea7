#pragma once

// One cell of the fault matrix: an editor and its simulated pedal, a transfer started,
// a fault that strikes just before the transfer's first message of a given kind reaches
// the pedal, and the bookkeeping the checks need (message boxes since the strike, the
// files the transfer may have written).

#include <functional>
#include <string>
#include <vector>

#include "tests/support/CoreHarness.h"
#include "tests/support/ScriptedPlatformServices.h"

namespace qd3::test {

enum class Fault : uint8_t {
  kDropOne,       // the next answer is lost
  kDropMany,      // the next 6 answers are lost: more than the editor's 3 retries
  kCorrupt,       // the next answer that carries a checksum carries a wrong one
  kRefuseWrites,  // every write is refused until the fault is cleared
  kSilent,        // the pedal answers nothing until the fault is cleared
  kUnplug,        // the ports vanish for 5 s and come back
  kOtherVersion,  // unplugged for 2 s, back with firmware 12.0, which this editor predates
  kBurst,         // every answer arrives at once, as a link that hands over a whole period
  kDelay,         // every answer leaves kReplyDelay late
  kJitter,        // every answer leaves 0..kJitter late, a different delay each time
  kDamagedChunk,  // a data byte of the next IR chunk the pedal sends is changed
};

const char* FaultName(Fault fault);

class FaultRun {
 public:
  static constexpr std::chrono::microseconds kUnplugTime{5000000};
  static constexpr std::chrono::microseconds kRestartTime{2000000};
  static constexpr int kOtherFirmwareVersion = 120;
  static constexpr int kManyDrops = 6;
  static constexpr int kAllWrites = 100000;
  static constexpr std::chrono::microseconds kReplyDelay{250000};
  static constexpr std::chrono::microseconds kJitter{200000};

  explicit FaultRun(sim::PedalState state);

  // The fault strikes just before the first message for which `trigger` holds.
  void Arm(Fault fault, std::function<bool(const Bytes&)> trigger);
  bool Struck() const { return mStruck; }

  // Runs in 20 ms steps with the idle tick, as the window's timers do, and plugs the
  // ports back when the fault's time is over. The host's port watcher is mimicked: when
  // the stored ports come back they are reopened and the session reconnects.
  void RunFor(std::chrono::microseconds duration);
  // Runs until no transfer has been under way for `quiet`, at most `limit`; true when
  // the editor fell quiet.
  bool RunUntilQuiet(std::chrono::microseconds quiet, std::chrono::microseconds limit);
  bool TransferUnderWay() const;

  void ClearFaults();
  // Message boxes shown since the fault struck.
  std::vector<std::string> BoxesSinceStrike() const;

  CoreHarness h;
  ScriptedPlatformServices platform;

 private:
  void Strike();
  void OnSend(std::span<const uint8_t> message);

  Fault mFault = Fault::kDropOne;
  std::function<bool(const Bytes&)> mTrigger;
  bool mStruck = false;
  size_t mBoxesAtStrike = 0;
  std::chrono::microseconds mPlugBackAt{-1};
};

}  // namespace qd3::test
