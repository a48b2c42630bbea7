#include "host/app/IncomingSysexQueue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstring>

namespace qd3 {

IncomingSysexQueue::IncomingSysexQueue() : wakeFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

IncomingSysexQueue::~IncomingSysexQueue() {
  if (wakeFd_ >= 0) ::close(wakeFd_);
}

bool IncomingSysexQueue::Push(const uint8_t* bytes, size_t size) {
  if (size > kMaxMessage) {
    dropped_.fetch_add(1, std::memory_order_relaxed);
    return false;
  }
  const size_t write = write_.load(std::memory_order_relaxed);
  const size_t next = (write + 1) % kSlots;
  const size_t read = read_.load(std::memory_order_acquire);
  if (next == read) {
    dropped_.fetch_add(1, std::memory_order_relaxed);
    return false;
  }
  Slot& slot = slots_[write];
  slot.size = size;
  std::memcpy(slot.bytes.data(), bytes, size);
  write_.store(next, std::memory_order_release);
  // Every push signals: an eventfd write is one system call without a lock, and
  // skipping it whenever the ring looked non-empty would race with a consumer
  // that is just taking the last message and strand this one.
  if (wakeFd_ >= 0) {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
  }
  return true;
}

void IncomingSysexQueue::ClearWake() {
  if (wakeFd_ < 0) return;
  uint64_t count = 0;
  [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &count, sizeof count);
}

}  // namespace qd3
