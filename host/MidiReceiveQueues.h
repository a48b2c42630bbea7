#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/SpscRing.h"

namespace qd3 {

inline constexpr size_t kShortMidiQueueCapacity = 32;
// The pedal sends its longest sequences without pause (an impulse response is 11
// messages of up to 269 bytes, and a JACK period or a fast USB link may hand all
// of them over in one go); 64 slots of 512 bytes hold several such bursts.
inline constexpr size_t kSysexQueueCapacity = 64;
// Longest incoming message that is kept; anything longer is dropped whole.
inline constexpr size_t kMaxSysexSize = 512;
// Messages of 1..3 bytes are channel or system-common messages; 4 bytes and more
// can only be SysEx.
inline constexpr size_t kMaxShortMidiSize = 3;

// One channel or system-common message: the status byte and up to two data
// bytes, 0 where the message is shorter.
struct ShortMidiMessage {
  int offset = 0;  // sample offset inside the sub-block; always 0 here
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;
};

// One SysEx message of 4..kMaxSysexSize bytes, framing bytes included.
struct SysexMidiMessage {
  int offset = 0;  // always 0 here
  int size = 0;
  std::array<uint8_t, kMaxSysexSize> data{};
};

// The receive path from the MIDI input thread (the only producer) to the drain
// pass (the only consumer): two bounded lock-free rings. A message that does not
// fit, because its ring is full or it is too long, is lost and counted; the
// pedal's conversations cope with a lost reply by asking again, and the first
// loss is reported once (TakeDropReport) so that it is never silent.
class MidiReceiveQueues {
 public:
  // Input thread. Sorts one complete message into its ring by length; empty and
  // over-long messages, messages that meet a full ring and everything arriving
  // once the exiting flag is set are dropped. Copies into a fixed slot only:
  // no allocation, no lock, no system call.
  void OnMidiInput(const uint8_t* data, size_t size) noexcept;

  // Matches IMidiTransport::InputCallback with user = the MidiReceiveQueues.
  static void InputCallback(const uint8_t* data, size_t size, void* user) noexcept;

  // Drain thread. Pops every short message to onShort(const ShortMidiMessage&),
  // then every SysEx message to onSysex(const uint8_t* bytes, size_t size), each
  // in arrival order. A message that arrives during the pass is handled in it
  // when it lands before its ring is found empty, else in the next pass.
  template <typename ShortHandler, typename SysexHandler>
  void Drain(ShortHandler&& onShort, SysexHandler&& onSysex) {
    ShortMidiMessage shortMessage;
    while (mShortQueue.TryPop(shortMessage)) onShort(shortMessage);
    // Copied out so that the slot is free again before the handler runs, which
    // may take a while (it parses the message and may send a reply).
    SysexMidiMessage sysex;
    while (mSysexQueue.TryPop(sysex)) onSysex(sysex.data.data(), static_cast<size_t>(sysex.size));
  }

  // Where no audio stream drains the rings, the UI loop drains them when woken:
  // after each message kept, the callback adds 1 to this eventfd (a plain
  // write, no lock, no allocation). -1 (the default) wakes nobody.
  void SetWakeFd(int fd) noexcept { mWakeFd.store(fd, std::memory_order_release); }

  // Set first thing at shutdown; from then on the input callback keeps nothing.
  void SetExiting() noexcept { mExiting.store(true, std::memory_order_release); }
  bool Exiting() const noexcept { return mExiting.load(std::memory_order_acquire); }

  // Messages lost so far, for diagnostics and tests: short messages that met a
  // full ring; SysEx messages that met a full ring or were over-long (the sum
  // and each cause on its own).
  uint64_t DroppedShortCount() const noexcept {
    return mDroppedShort.load(std::memory_order_relaxed);
  }
  uint64_t DroppedSysexCount() const noexcept {
    return DroppedSysexQueueFullCount() + DroppedSysexTooLongCount();
  }
  uint64_t DroppedSysexQueueFullCount() const noexcept {
    return mDroppedSysexFull.load(std::memory_order_relaxed);
  }
  uint64_t DroppedSysexTooLongCount() const noexcept {
    return mDroppedSysexTooLong.load(std::memory_order_relaxed);
  }

  // Not for the input thread or the audio thread (it builds a string). The
  // lines to print about losses, one per cause and each only the first time
  // that cause has lost anything: "MIDI input: N messages dropped (receive
  // queue full)" counts both rings, "... (longer than 512 bytes)" the over-long
  // SysEx. Empty when there is nothing new to say.
  std::string TakeDropReport();

 private:
  SpscRing<ShortMidiMessage, kShortMidiQueueCapacity> mShortQueue;
  SpscRing<SysexMidiMessage, kSysexQueueCapacity> mSysexQueue;
  void Wake() noexcept;

  std::atomic<bool> mExiting{false};
  std::atomic<int> mWakeFd{-1};
  std::atomic<uint64_t> mDroppedShort{0};
  std::atomic<uint64_t> mDroppedSysexFull{0};
  std::atomic<uint64_t> mDroppedSysexTooLong{0};
  std::atomic<bool> mReportedFull{false};
  std::atomic<bool> mReportedTooLong{false};
};

// The short-message handler of this program: the editor has no use for channel
// messages, so they are popped and forgotten.
inline void IgnoreShortMidiMessage(const ShortMidiMessage&) {}

}  // namespace qd3
