#pragma once

#include <array>
#include <atomic>
#include <cstddef>

namespace qd3 {

// Bounded single-producer single-consumer ring of Capacity elements held in
// Capacity + 1 slots: the write index is owned by the producer, the read index by
// the consumer, and one slot always stays empty so that "full" (write + 1 == read)
// and "empty" (write == read) differ. Each index is published with a release
// store after the slot it covers has been written or read, and the other side
// picks it up with an acquire load. No allocation and no lock; both operations
// are wait-free.
template <typename T, size_t Capacity>
class SpscRing {
 public:
  static constexpr size_t kSlots = Capacity + 1;

  // Producer only. Calls fill(slot) on the free slot and publishes it; returns
  // false, without calling fill, when the ring is full.
  template <typename Fill>
  bool TryPush(Fill&& fill) {
    const size_t write = write_.load(std::memory_order_relaxed);
    const size_t next = Advance(write);
    if (next == read_.load(std::memory_order_acquire)) return false;
    fill(slots_[write]);
    write_.store(next, std::memory_order_release);
    return true;
  }

  // Consumer only. Copies the oldest element out and frees its slot; false when
  // the ring is empty.
  bool TryPop(T& out) {
    const size_t read = read_.load(std::memory_order_relaxed);
    if (read == write_.load(std::memory_order_acquire)) return false;
    out = slots_[read];
    read_.store(Advance(read), std::memory_order_release);
    return true;
  }

 private:
  static constexpr size_t Advance(size_t index) { return index + 1 == kSlots ? 0 : index + 1; }

  std::array<T, kSlots> slots_{};
  // Apart, so that the producer's and the consumer's stores do not share a line.
  alignas(64) std::atomic<size_t> write_{0};
  alignas(64) std::atomic<size_t> read_{0};
};

}  // namespace qd3
