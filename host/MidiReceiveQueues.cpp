#include "host/MidiReceiveQueues.h"

#include <unistd.h>

#include <cstring>
#include <string>

namespace qd3 {

void MidiReceiveQueues::OnMidiInput(const uint8_t* data, size_t size) noexcept {
  if (size == 0 || mExiting.load(std::memory_order_acquire)) return;

  if (size <= kMaxShortMidiSize) {
    const bool queued = mShortQueue.TryPush([&](ShortMidiMessage& slot) {
      slot.offset = 0;
      slot.status = data[0];
      slot.data1 = size > 1 ? data[1] : 0;
      slot.data2 = size > 2 ? data[2] : 0;
    });
    if (queued) {
      Wake();
    } else {
      mDroppedShort.fetch_add(1, std::memory_order_relaxed);
    }
    return;
  }

  if (size > kMaxSysexSize) {
    mDroppedSysexTooLong.fetch_add(1, std::memory_order_relaxed);
    return;
  }
  const bool queued = mSysexQueue.TryPush([&](SysexMidiMessage& slot) {
    slot.offset = 0;
    slot.size = static_cast<int>(size);
    std::memcpy(slot.data.data(), data, size);
  });
  if (queued) {
    Wake();
  } else {
    mDroppedSysexFull.fetch_add(1, std::memory_order_relaxed);
  }
}

void MidiReceiveQueues::Wake() noexcept {
  const int fd = mWakeFd.load(std::memory_order_acquire);
  if (fd < 0) return;
  const uint64_t one = 1;
  // A full counter or a closed descriptor only costs a wake-up; nothing to handle.
  [[maybe_unused]] const ssize_t written = ::write(fd, &one, sizeof one);
}

std::string MidiReceiveQueues::TakeDropReport() {
  std::string report;
  const uint64_t full = DroppedShortCount() + DroppedSysexQueueFullCount();
  if (full > 0 && !mReportedFull.exchange(true, std::memory_order_relaxed)) {
    report += "MIDI input: " + std::to_string(full) + " messages dropped (receive queue full)\n";
  }
  const uint64_t tooLong = DroppedSysexTooLongCount();
  if (tooLong > 0 && !mReportedTooLong.exchange(true, std::memory_order_relaxed)) {
    report += "MIDI input: " + std::to_string(tooLong) + " messages dropped (longer than " +
              std::to_string(kMaxSysexSize) + " bytes)\n";
  }
  return report;
}

void MidiReceiveQueues::InputCallback(const uint8_t* data, size_t size, void* user) noexcept {
  static_cast<MidiReceiveQueues*>(user)->OnMidiInput(data, size);
}

}  // namespace qd3
