#pragma once

// The wire from the pedal back to the editor. The pedal posts what it sends in answer to
// one message as one sequence. A sequence leaves after the latency (plus any reply delay
// and jitter) and each message takes size / byte rate to cross; a sequence waits for the
// one before it, so a burst of replies (an IR transfer, a dump after a status) arrives
// spaced as on a USB-MIDI link. With `burst` a sequence is delivered in one go instead, once
// its last byte has arrived. Messages are delivered whole, in the order posted.
//
// Three ways of running it:
//   kPaced      a thread of its own delivers each message at its time on the steady clock;
//   kManual     nothing moves until the test pumps: PumpAll, PumpOne, or AdvanceBy on a
//               virtual clock that starts at 0 (the same schedule as kPaced, without sleeping);
//   kImmediate  Post delivers at once on the posting thread (no pacing and no delays at all).

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <random>
#include <span>
#include <thread>
#include <vector>

#include "protocol/DeviceMessages.h"

namespace qd3::sim {

enum class DeliveryMode : uint8_t { kPaced, kManual, kImmediate };

using Micros = std::chrono::microseconds;

struct WireTiming {
  Micros latency{2000};  // from the request to the first byte of the answer
  // Bytes per second on the wire; 0 or less: no limit. 48000 is three bytes per 62.5 us,
  // what a full-speed USB-MIDI link carries.
  double bytesPerSecond = 48000.0;
  // Each sequence reaches the editor in one delivery when its last byte has arrived, back
  // to back with nothing between: a link that hands over a whole JACK period or USB frame.
  bool burst = false;
  // A slow pedal: every sequence leaves this much later, plus 0..jitter more, drawn per
  // sequence from a generator seeded with jitterSeed (the same seed, the same delays).
  Micros replyDelay{0};
  Micros jitter{0};
  uint64_t jitterSeed = 1;
  // A write keeps the pedal busy this long before it answers; answers to whatever arrives
  // meanwhile wait behind it.
  Micros writeDelay{0};
};

// How long `size` bytes occupy the wire, rounded up to whole microseconds.
Micros TransmitTime(std::size_t size, double bytesPerSecond);

class ReplyLine {
 public:
  // Run on the delivering thread; no lock of the line is held. A burst goes to BurstSink
  // when there is one, else message by message to Sink with nothing delivered between.
  using Sink = std::function<void(std::span<const uint8_t> message)>;
  using BurstSink = std::function<void(std::span<const Bytes> messages)>;

  ReplyLine(DeliveryMode mode, WireTiming timing, Sink sink, BurstSink burstSink = nullptr);
  // Stops the paced thread; messages not yet delivered are dropped.
  ~ReplyLine();

  ReplyLine(const ReplyLine&) = delete;
  ReplyLine& operator=(const ReplyLine&) = delete;

  // Any thread. A sequence of one message.
  void Post(Bytes message);
  // The pedal's answers to one message, in order; `write` when that message was a write
  // (see WireTiming::writeDelay). Returns when the last byte of the sequence arrives, or for
  // an empty one when the pedal is free again (kImmediate: Now()).
  Micros PostSequence(std::vector<Bytes> messages, bool write = false);
  // Takes effect for sequences posted from now on and restarts the jitter from its seed.
  void SetTiming(WireTiming timing);
  WireTiming Timing() const;
  DeliveryMode Mode() const { return mOde; }
  std::size_t Pending() const;  // messages not yet delivered
  // The line's clock: virtual time in kManual, steady time since the line began otherwise.
  Micros Now() const;

  // kManual: deliver everything queued (the virtual clock moves to the last arrival),
  // the first queued delivery only (one message, or a whole burst), or whatever has arrived
  // after `step` more virtual time. Each returns the number of messages delivered; in other
  // modes they deliver nothing.
  std::size_t PumpAll();
  std::size_t PumpOne();
  std::size_t AdvanceBy(Micros step);
  Micros VirtualNow() const;

  // kPaced: true once nothing is queued or being delivered, false after `timeout`.
  bool WaitIdle(std::chrono::milliseconds timeout);

 private:
  // One delivery: a single message, or a whole sequence when it is a burst.
  struct Item {
    std::vector<Bytes> messages;
    Micros due;  // when its last byte has arrived
    bool burst = false;
  };

  Micros NowLocked() const;  // with mUtex held
  Micros DrawJitter();       // with mUtex held
  void Deliver(const Item& item);
  // Delivers the queued items due by `until` (all with `all`), at most `limit` of them;
  // returns the number of messages.
  std::size_t DeliverDue(Micros until, bool all, std::size_t limit);
  void Run();

  const DeliveryMode mOde;
  const Sink mSink;
  const BurstSink mBurstSink;
  const std::chrono::steady_clock::time_point mEpoch = std::chrono::steady_clock::now();

  mutable std::mutex mUtex;
  std::condition_variable mWake;
  std::condition_variable mIdle;
  WireTiming mTiming;
  std::mt19937_64 mJitterSource;
  std::deque<Item> mQueue;
  Micros mLineFreeAt{0};  // when the wire is done with the last posted message
  Micros mBusyUntil{0};   // when the pedal has finished its last write
  Micros mVirtualNow{0};
  bool mDelivering = false;
  bool mStop = false;

  std::mutex mDeliverMutex;  // keeps pumps from several threads in posting order
  std::thread mThread;       // kPaced only; started last
};

}  // namespace qd3::sim
