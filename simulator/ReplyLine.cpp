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
    : mode_(mode), sink_(std::move(sink)), timing_(timing) {
  if (mode_ == DeliveryMode::kPaced) thread_ = std::thread([this] { Run(); });
}

ReplyLine::~ReplyLine() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

Micros ReplyLine::Now() const {
  if (mode_ == DeliveryMode::kManual) return virtualNow_;
  return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now() - epoch_);
}

void ReplyLine::Post(Bytes message) {
  if (mode_ == DeliveryMode::kImmediate) {
    // No lock: the sink may well post again (a test's scripted answer).
    sink_(message);
    return;
  }
  {
    std::lock_guard lock(mutex_);
    const Micros start = std::max(Now() + timing_.latency, lineFreeAt_);
    const Micros due = start + TransmitTime(message.size(), timing_.bytesPerSecond);
    lineFreeAt_ = due;
    queue_.push_back({std::move(message), due});
  }
  wake_.notify_all();
}

void ReplyLine::SetTiming(WireTiming timing) {
  std::lock_guard lock(mutex_);
  timing_ = timing;
}

WireTiming ReplyLine::timing() const {
  std::lock_guard lock(mutex_);
  return timing_;
}

std::size_t ReplyLine::Pending() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

Micros ReplyLine::VirtualNow() const {
  std::lock_guard lock(mutex_);
  return virtualNow_;
}

std::size_t ReplyLine::PumpAll() {
  if (mode_ != DeliveryMode::kManual) return 0;
  return DeliverDue(Micros::max(), true, static_cast<std::size_t>(-1));
}

std::size_t ReplyLine::PumpOne() {
  if (mode_ != DeliveryMode::kManual) return 0;
  return DeliverDue(Micros::max(), true, 1);
}

std::size_t ReplyLine::AdvanceBy(Micros step) {
  if (mode_ != DeliveryMode::kManual) return 0;
  Micros until;
  {
    std::lock_guard lock(mutex_);
    virtualNow_ += step;
    until = virtualNow_;
  }
  return DeliverDue(until, false, static_cast<std::size_t>(-1));
}

std::size_t ReplyLine::DeliverDue(Micros until, bool all, std::size_t limit) {
  std::lock_guard order(deliverMutex_);
  std::size_t delivered = 0;
  while (delivered < limit) {
    Bytes message;
    {
      std::lock_guard lock(mutex_);
      if (queue_.empty() || (!all && queue_.front().due > until)) break;
      message = std::move(queue_.front().message);
      // Pumping everything lets the virtual clock catch up with what was delivered.
      virtualNow_ = std::max(virtualNow_, queue_.front().due);
      queue_.pop_front();
    }
    sink_(message);
    ++delivered;
  }
  return delivered;
}

bool ReplyLine::WaitIdle(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return idle_.wait_for(lock, timeout, [this] { return queue_.empty() && !delivering_; });
}

void ReplyLine::Run() {
  std::unique_lock lock(mutex_);
  while (true) {
    wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
    if (stop_) break;
    const auto dueAt = epoch_ + queue_.front().due;
    if (std::chrono::steady_clock::now() < dueAt) {
      // Woken early by a post or by the stop; look again.
      wake_.wait_until(lock, dueAt, [this] { return stop_; });
      continue;
    }
    Bytes message = std::move(queue_.front().message);
    queue_.pop_front();
    delivering_ = true;
    lock.unlock();
    sink_(message);
    lock.lock();
    delivering_ = false;
    if (queue_.empty()) idle_.notify_all();
  }
  queue_.clear();
  delivering_ = false;
  idle_.notify_all();
}

}  // namespace qd3::sim
