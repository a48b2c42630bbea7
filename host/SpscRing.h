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
    const size_t write = mWrite.load(std::memory_order_relaxed);
    const size_t next = Advance(write);
    if (next == mRead.load(std::memory_order_acquire)) return false;
    fill(mSlots[write]);
    mWrite.store(next, std::memory_order_release);
    return true;
  }

  // Consumer only. Copies the oldest element out and frees its slot; false when
  // the ring is empty.
  bool TryPop(T& out) {
    const size_t read = mRead.load(std::memory_order_relaxed);
    if (read == mWrite.load(std::memory_order_acquire)) return false;
    out = mSlots[read];
    mRead.store(Advance(read), std::memory_order_release);
    return true;
  }

 private:
  static constexpr size_t Advance(size_t index) { return index + 1 == kSlots ? 0 : index + 1; }

  std::array<T, kSlots> mSlots{};
  // Apart, so that the producer's and the consumer's stores do not share a line.
  alignas(64) std::atomic<size_t> mWrite{0};
  alignas(64) std::atomic<size_t> mRead{0};
};

}  // namespace qd3
