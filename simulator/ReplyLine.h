#pragma once

// The wire from the pedal back to the editor. Each posted message leaves after the
// latency and takes size / byte rate to cross; a message waits for the one before it, so
// a burst of replies (an IR transfer, a dump after a status) arrives spaced as on a
// USB-MIDI link. Messages are delivered whole, in the order posted, to the sink.
//
// Three ways of running it:
//   kPaced      a thread of its own delivers each message at its time on the steady clock;
//   kManual     nothing moves until the test pumps: PumpAll, PumpOne, or AdvanceBy on a
//               virtual clock that starts at 0 (the same schedule as kPaced, without sleeping);
//   kImmediate  Post delivers at once on the posting thread (no pacing at all).

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <thread>

#include "protocol/DeviceMessages.h"

namespace qd3::sim {

enum class DeliveryMode : uint8_t { kPaced, kManual, kImmediate };

using Micros = std::chrono::microseconds;

struct WireTiming {
  Micros latency{2000};  // from the request to the first byte of the answer
  // Bytes per second on the wire; 0 or less: no limit. 48000 is three bytes per 62.5 us,
  // what a full-speed USB-MIDI link carries.
  double bytesPerSecond = 48000.0;
};

// How long `size` bytes occupy the wire, rounded up to whole microseconds.
Micros TransmitTime(std::size_t size, double bytesPerSecond);

class ReplyLine {
 public:
  // Runs on the delivering thread with the whole message; no lock of the line is held.
  using Sink = std::function<void(std::span<const uint8_t> message)>;

  ReplyLine(DeliveryMode mode, WireTiming timing, Sink sink);
  // Stops the paced thread; messages not yet delivered are dropped.
  ~ReplyLine();

  ReplyLine(const ReplyLine&) = delete;
  ReplyLine& operator=(const ReplyLine&) = delete;

  // Any thread.
  void Post(Bytes message);
  void SetTiming(WireTiming timing);
  WireTiming Timing() const;
  DeliveryMode Mode() const { return mOde; }
  std::size_t Pending() const;

  // kManual: deliver everything queued (the virtual clock moves to the last arrival),
  // the first queued message only, or whatever has arrived after `step` more virtual time.
  // Each returns the number delivered; in other modes they deliver nothing.
  std::size_t PumpAll();
  std::size_t PumpOne();
  std::size_t AdvanceBy(Micros step);
  Micros VirtualNow() const;

  // kPaced: true once nothing is queued or being delivered, false after `timeout`.
  bool WaitIdle(std::chrono::milliseconds timeout);

 private:
  struct Item {
    Bytes message;
    Micros due;  // when its last byte has arrived
  };

  Micros Now() const;  // virtual or steady clock time, both counted from 0
  // Delivers the queued messages due by `until` (all with `all`), at most `limit`.
  std::size_t DeliverDue(Micros until, bool all, std::size_t limit);
  void Run();

  const DeliveryMode mOde;
  const Sink mSink;
  const std::chrono::steady_clock::time_point mEpoch = std::chrono::steady_clock::now();

  mutable std::mutex mUtex;
  std::condition_variable mWake;
  std::condition_variable mIdle;
  WireTiming mTiming;
  std::deque<Item> mQueue;
  Micros mLineFreeAt{0};  // when the wire is done with the last posted message
  Micros mVirtualNow{0};
  bool mDelivering = false;
  bool mStop = false;

  std::mutex mDeliverMutex;  // keeps pumps from several threads in posting order
  std::thread mThread;       // kPaced only; started last
};

}  // namespace qd3::sim
