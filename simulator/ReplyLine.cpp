#include "simulator/ReplyLine.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qd3::sim {

Micros TransmitTime(std::size_t size, double bytesPerSecond) {
  if (bytesPerSecond <= 0) return Micros{0};
  return Micros{static_cast<int64_t>(std::ceil(static_cast<double>(size) * 1e6 / bytesPerSecond))};
}

ReplyLine::ReplyLine(DeliveryMode mode, WireTiming timing, Sink sink)
    : mOde(mode), mSink(std::move(sink)), mTiming(timing) {
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

Micros ReplyLine::Now() const {
  if (mOde == DeliveryMode::kManual) return mVirtualNow;
  return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now() - mEpoch);
}

void ReplyLine::Post(Bytes message) {
  if (mOde == DeliveryMode::kImmediate) {
    // No lock: the sink may well post again (a test's scripted answer).
    mSink(message);
    return;
  }
  {
    std::lock_guard lock(mUtex);
    const Micros start = std::max(Now() + mTiming.latency, mLineFreeAt);
    const Micros due = start + TransmitTime(message.size(), mTiming.bytesPerSecond);
    mLineFreeAt = due;
    mQueue.push_back({std::move(message), due});
  }
  mWake.notify_all();
}

void ReplyLine::SetTiming(WireTiming timing) {
  std::lock_guard lock(mUtex);
  mTiming = timing;
}

WireTiming ReplyLine::Timing() const {
  std::lock_guard lock(mUtex);
  return mTiming;
}

std::size_t ReplyLine::Pending() const {
  std::lock_guard lock(mUtex);
  return mQueue.size();
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

std::size_t ReplyLine::DeliverDue(Micros until, bool all, std::size_t limit) {
  std::lock_guard order(mDeliverMutex);
  std::size_t delivered = 0;
  while (delivered < limit) {
    Bytes message;
    {
      std::lock_guard lock(mUtex);
      if (mQueue.empty() || (!all && mQueue.front().due > until)) break;
      message = std::move(mQueue.front().message);
      // Pumping everything lets the virtual clock catch up with what was delivered.
      mVirtualNow = std::max(mVirtualNow, mQueue.front().due);
      mQueue.pop_front();
    }
    mSink(message);
    ++delivered;
  }
  return delivered;
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
    Bytes message = std::move(mQueue.front().message);
    mQueue.pop_front();
    mDelivering = true;
    lock.unlock();
    mSink(message);
    lock.lock();
    mDelivering = false;
    if (mQueue.empty()) mIdle.notify_all();
  }
  mQueue.clear();
  mDelivering = false;
  mIdle.notify_all();
}

}  // namespace qd3::sim
