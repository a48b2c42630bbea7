#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace qd3 {

// Hands complete SysEx messages from the audio thread (the drain pass) to the UI
// thread, which handles them one at a time in arrival order. A single-producer
// single-consumer ring of fixed slots, so the audio thread neither allocates nor
// locks; each push wakes the UI thread through an eventfd, which the UI loop watches. A push into a
// full ring drops the message, as the receive queues do.
class IncomingSysexQueue {
 public:
  // Longest message the receive queues deliver.
  static constexpr size_t kMaxMessage = 512;
  // The UI thread empties the ring within a frame; at the pedal's wire rate of
  // about 48 kB/s this is over two seconds of 512-byte messages.
  static constexpr size_t kSlots = 256;

  IncomingSysexQueue();
  ~IncomingSysexQueue();
  IncomingSysexQueue(const IncomingSysexQueue&) = delete;
  IncomingSysexQueue& operator=(const IncomingSysexQueue&) = delete;

  // Producer. False when the message is too long or the ring is full.
  bool Push(const uint8_t* bytes, size_t size);

  // Consumer: the descriptor that becomes readable when messages wait.
  int WakeFd() const { return mWakeFd; }
  // Consumer: clears the wake-up and hands every waiting message, in order, to
  // handle(const uint8_t*, size_t). Returns the number handled.
  template <typename Handler>
  size_t Drain(Handler&& handle) {
    ClearWake();
    size_t count = 0;
    size_t read = mRead.load(std::memory_order_relaxed);
    while (read != mWrite.load(std::memory_order_acquire)) {
      const Slot& slot = mSlots[read];
      handle(slot.bytes.data(), slot.size);
      read = (read + 1) % kSlots;
      mRead.store(read, std::memory_order_release);
      ++count;
    }
    return count;
  }

  size_t Dropped() const { return mDropped.load(std::memory_order_relaxed); }

 private:
  struct Slot {
    size_t size = 0;
    std::array<uint8_t, kMaxMessage> bytes{};
  };
  void ClearWake();

  std::array<Slot, kSlots> mSlots{};
  std::atomic<size_t> mWrite{0};
  std::atomic<size_t> mRead{0};
  std::atomic<size_t> mDropped{0};
  int mWakeFd = -1;
};

}  // namespace qd3
