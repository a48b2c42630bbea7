#include "host/app/IncomingSysexQueue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstring>

namespace qd3 {

IncomingSysexQueue::IncomingSysexQueue() : mWakeFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

IncomingSysexQueue::~IncomingSysexQueue() {
  if (mWakeFd >= 0) ::close(mWakeFd);
}

bool IncomingSysexQueue::Push(const uint8_t* bytes, size_t size) {
  if (size > kMaxMessage) {
    mDropped.fetch_add(1, std::memory_order_relaxed);
    return false;
  }
  const size_t write = mWrite.load(std::memory_order_relaxed);
  const size_t next = (write + 1) % kSlots;
  const size_t read = mRead.load(std::memory_order_acquire);
  if (next == read) {
    mDropped.fetch_add(1, std::memory_order_relaxed);
    return false;
  }
  Slot& slot = mSlots[write];
  slot.size = size;
  std::memcpy(slot.bytes.data(), bytes, size);
  mWrite.store(next, std::memory_order_release);
  // Every push signals: an eventfd write is one system call without a lock, and
  // skipping it whenever the ring looked non-empty would race with a consumer
  // that is just taking the last message and strand this one.
  if (mWakeFd >= 0) {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(mWakeFd, &one, sizeof one);
  }
  return true;
}

void IncomingSysexQueue::ClearWake() {
  if (mWakeFd < 0) return;
  uint64_t count = 0;
  [[maybe_unused]] const ssize_t n = ::read(mWakeFd, &count, sizeof count);
}

}  // namespace qd3
