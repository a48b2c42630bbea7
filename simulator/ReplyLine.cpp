#include "simulator/ReplyLine.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace qd3::sim {
namespace {

// Negative delays would let a sequence overtake the clock; they count as none.
WireTiming WithoutNegativeDelays(WireTiming timing) {
  timing.replyDelay = std::max(timing.replyDelay, Micros{0});
  timing.jitter = std::max(timing.jitter, Micros{0});
  timing.writeDelay = std::max(timing.writeDelay, Micros{0});
  return timing;
}

}  // namespace

Micros TransmitTime(std::size_t size, double bytesPerSecond) {
  if (bytesPerSecond <= 0) return Micros{0};
  return Micros{static_cast<int64_t>(std::ceil(static_cast<double>(size) * 1e6 / bytesPerSecond))};
}

ReplyLine::ReplyLine(DeliveryMode mode, WireTiming timing, Sink sink, BurstSink burstSink)
    : mOde(mode),
      mSink(std::move(sink)),
      mBurstSink(std::move(burstSink)),
      mTiming(WithoutNegativeDelays(timing)),
      mJitterSource(timing.jitterSeed) {
  if (mOde == DeliveryMode::kPaced) mThread = std::thread([this] { Run(); });
}

ReplyLine::~ReplyLine() {
  {
    std::lock_guard lock(mUtex);
    mStop = true;
  }
  mWake.notify_all();
  if (mThread.joinable()) mThread.join();
}

Micros ReplyLine::NowLocked() const {
  if (mOde == DeliveryMode::kManual) return mVirtualNow;
  return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now() - mEpoch);
}

Micros ReplyLine::Now() const {
  std::lock_guard lock(mUtex);
  return NowLocked();
}

Micros ReplyLine::DrawJitter() {
  if (mTiming.jitter <= Micros{0}) return Micros{0};
  // Modulo rather than a distribution: the generator's output is fixed by the standard,
  // the distributions' are not, and the same seed must give the same delays everywhere.
  const auto span = static_cast<uint64_t>(mTiming.jitter.count()) + 1;
  return Micros{static_cast<int64_t>(mJitterSource() % span)};
}

void ReplyLine::Post(Bytes message) {
  std::vector<Bytes> one;
  one.push_back(std::move(message));
  PostSequence(std::move(one));
}

Micros ReplyLine::PostSequence(std::vector<Bytes> messages, bool write) {
  if (mOde == DeliveryMode::kImmediate) {
    // No lock: the sink may well post again (a test's scripted answer).
    if (!messages.empty()) Deliver(Item{std::move(messages), Micros{0}, Timing().burst});
    return Now();
  }
  Micros last;
  {
    std::lock_guard lock(mUtex);
    // The pedal takes one message at a time: a write still under way holds up the answer.
    Micros ready = std::max(NowLocked(), mBusyUntil);
    if (write) {
      ready += mTiming.writeDelay;
      mBusyUntil = ready;
    }
    if (messages.empty()) return ready;
    const Micros leaves = ready + mTiming.latency + mTiming.replyDelay + DrawJitter();
    Micros at = std::max(leaves, mLineFreeAt);
    if (mTiming.burst) {
      const std::size_t bytes = std::accumulate(
          messages.begin(), messages.end(), std::size_t{0},
          [](std::size_t sum, const Bytes& message) { return sum + message.size(); });
      at += TransmitTime(bytes, mTiming.bytesPerSecond);
      mQueue.push_back({std::move(messages), at, true});
    } else {
      for (Bytes& message : messages) {
        at += TransmitTime(message.size(), mTiming.bytesPerSecond);
        std::vector<Bytes> one;
        one.push_back(std::move(message));
        mQueue.push_back({std::move(one), at, false});
      }
    }
    mLineFreeAt = at;
    last = at;
  }
  mWake.notify_all();
  return last;
}

void ReplyLine::SetTiming(WireTiming timing) {
  std::lock_guard lock(mUtex);
  mTiming = WithoutNegativeDelays(timing);
  mJitterSource.seed(timing.jitterSeed);
}

WireTiming ReplyLine::Timing() const {
  std::lock_guard lock(mUtex);
  return mTiming;
}

std::size_t ReplyLine::Pending() const {
  std::lock_guard lock(mUtex);
  std::size_t count = 0;
  for (const Item& item : mQueue) count += item.messages.size();
  return count;
}

Micros ReplyLine::VirtualNow() const {
  std::lock_guard lock(mUtex);
  return mVirtualNow;
}

std::size_t ReplyLine::PumpAll() {
  if (mOde != DeliveryMode::kManual) return 0;
  return DeliverDue(Micros::max(), true, static_cast<std::size_t>(-1));
}

std::size_t ReplyLine::PumpOne() {
  if (mOde != DeliveryMode::kManual) return 0;
  return DeliverDue(Micros::max(), true, 1);
}

std::size_t ReplyLine::AdvanceBy(Micros step) {
  if (mOde != DeliveryMode::kManual) return 0;
  Micros until;
  {
    std::lock_guard lock(mUtex);
    mVirtualNow += step;
    until = mVirtualNow;
  }
  return DeliverDue(until, false, static_cast<std::size_t>(-1));
}

void ReplyLine::Deliver(const Item& item) {
  if (item.burst && mBurstSink) {
    mBurstSink(item.messages);
    return;
  }
  for (const Bytes& message : item.messages) mSink(message);
}

std::size_t ReplyLine::DeliverDue(Micros until, bool all, std::size_t limit) {
  std::lock_guard order(mDeliverMutex);
  std::size_t items = 0;
  std::size_t messages = 0;
  while (items < limit) {
    Item item;
    {
      std::lock_guard lock(mUtex);
      if (mQueue.empty() || (!all && mQueue.front().due > until)) break;
      item = std::move(mQueue.front());
      // Pumping everything lets the virtual clock catch up with what was delivered.
      mVirtualNow = std::max(mVirtualNow, item.due);
      mQueue.pop_front();
    }
    Deliver(item);
    ++items;
    messages += item.messages.size();
  }
  return messages;
}

bool ReplyLine::WaitIdle(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mUtex);
  return mIdle.wait_for(lock, timeout, [this] { return mQueue.empty() && !mDelivering; });
}

void ReplyLine::Run() {
  std::unique_lock lock(mUtex);
  while (true) {
    mWake.wait(lock, [this] { return mStop || !mQueue.empty(); });
    if (mStop) break;
    const auto dueAt = mEpoch + mQueue.front().due;
    if (std::chrono::steady_clock::now() < dueAt) {
      // Woken early by a post or by the stop; look again.
      mWake.wait_until(lock, dueAt, [this] { return mStop; });
      continue;
    }
    Item item = std::move(mQueue.front());
    mQueue.pop_front();
    mDelivering = true;
    lock.unlock();
    Deliver(item);
    lock.lock();
    mDelivering = false;
    if (mQueue.empty()) mIdle.notify_all();
  }
  mQueue.clear();
  mDelivering = false;
  mIdle.notify_all();
}

}  // namespace qd3::sim
