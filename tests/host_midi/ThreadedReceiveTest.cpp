#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "host/MidiPorts.h"
#include "host/MidiReceiveQueues.h"
#include "tests/host_midi/FakeMidiPortSettings.h"
#include "tests/support/FakeMidiTransport.h"

namespace qd3::test {
namespace {

// A SysEx whose bytes all follow from its sequence number: F0, the number in
// three 7-bit bytes, a body that depends on number and position, F7. Sizes run
// through 5..512.
std::vector<uint8_t> NumberedSysex(uint32_t number) {
  const size_t size = 5 + (number * 37) % (kMaxSysexSize - 4);
  std::vector<uint8_t> bytes(size);
  bytes[0] = 0xF0;
  bytes[1] = static_cast<uint8_t>((number >> 14) & 0x7F);
  bytes[2] = static_cast<uint8_t>((number >> 7) & 0x7F);
  bytes[3] = static_cast<uint8_t>(number & 0x7F);
  for (size_t i = 4; i + 1 < size; ++i) bytes[i] = static_cast<uint8_t>((number + i * 5) & 0x7F);
  bytes[size - 1] = 0xF7;
  return bytes;
}

// Checks one received SysEx against what its number says; returns the number,
// or -1 when the message is not one that was sent.
int64_t CheckNumberedSysex(const uint8_t* bytes, size_t size) {
  if (size < 5) return -1;
  const uint32_t number = (uint32_t{bytes[1]} << 14) | (uint32_t{bytes[2]} << 7) | bytes[3];
  const std::vector<uint8_t> expected = NumberedSysex(number);
  if (expected.size() != size || !std::equal(expected.begin(), expected.end(), bytes)) return -1;
  return number;
}

// Short message number n: control change with the number in the data bytes.
std::vector<uint8_t> NumberedShort(uint32_t number) {
  return {0xB0, static_cast<uint8_t>((number >> 7) & 0x7F), static_cast<uint8_t>(number & 0x7F)};
}

TEST(ThreadedReceive, LosslessWhenTheDrainKeepsUp) {
  constexpr uint32_t kCount = 3000;
  MidiReceiveQueues queues;
  std::atomic<uint32_t> sysexHandled{0};
  std::atomic<uint32_t> shortsHandled{0};
  std::atomic<bool> producerDone{false};

  std::thread producer([&] {
    for (uint32_t n = 0; n < kCount; ++n) {
      // Never more in flight than the rings hold, so nothing may be dropped.
      while (n - sysexHandled.load(std::memory_order_acquire) >= kSysexQueueCapacity) {
        std::this_thread::yield();
      }
      const std::vector<uint8_t> sysex = NumberedSysex(n);
      MidiReceiveQueues::InputCallback(sysex.data(), sysex.size(), &queues);
      while (n - shortsHandled.load(std::memory_order_acquire) >= kShortMidiQueueCapacity) {
        std::this_thread::yield();
      }
      const std::vector<uint8_t> cc = NumberedShort(n);
      MidiReceiveQueues::InputCallback(cc.data(), cc.size(), &queues);
    }
    producerDone.store(true, std::memory_order_release);
  });

  std::vector<int64_t> sysexNumbers;
  std::vector<uint32_t> shortNumbers;
  sysexNumbers.reserve(kCount);
  shortNumbers.reserve(kCount);
  auto pass = [&] {
    queues.Drain(
        [&](const ShortMidiMessage& m) {
          shortNumbers.push_back((uint32_t{m.data1} << 7) | m.data2);
          shortsHandled.fetch_add(1, std::memory_order_release);
        },
        [&](const uint8_t* bytes, size_t size) {
          sysexNumbers.push_back(CheckNumberedSysex(bytes, size));
          sysexHandled.fetch_add(1, std::memory_order_release);
        });
  };
  while (!producerDone.load(std::memory_order_acquire)) pass();
  producer.join();
  pass();

  ASSERT_EQ(sysexNumbers.size(), kCount);
  ASSERT_EQ(shortNumbers.size(), kCount);
  for (uint32_t i = 0; i < kCount; ++i) {
    ASSERT_EQ(sysexNumbers[i], i) << "SysEx " << i << " lost, damaged or reordered";
    ASSERT_EQ(shortNumbers[i], i) << "short message " << i;
  }
  EXPECT_EQ(queues.DroppedSysexCount(), 0u);
  EXPECT_EQ(queues.DroppedShortCount(), 0u);
}

TEST(ThreadedReceive, ImpulseResponseBurstsArriveWholeWhileTheDrainRuns) {
  // The pedal's longest unrequested sequence, 11 messages of 269 bytes, written
  // back to back with no pause, then the next burst once the last one is handled.
  constexpr uint32_t kBursts = 200;
  constexpr uint32_t kBurstLength = 11;
  constexpr size_t kChunkSize = 269;
  MidiReceiveQueues queues;
  std::atomic<uint32_t> handled{0};
  std::atomic<bool> producerDone{false};
  auto chunk = [&](uint32_t number) {
    std::vector<uint8_t> bytes(kChunkSize, static_cast<uint8_t>(number % 0x7F));
    bytes[0] = 0xF0;
    bytes[1] = static_cast<uint8_t>((number >> 7) & 0x7F);
    bytes[2] = static_cast<uint8_t>(number & 0x7F);
    bytes.back() = 0xF7;
    return bytes;
  };

  std::thread producer([&] {
    for (uint32_t burst = 0; burst < kBursts; ++burst) {
      for (uint32_t i = 0; i < kBurstLength; ++i) {
        const std::vector<uint8_t> bytes = chunk(burst * kBurstLength + i);
        MidiReceiveQueues::InputCallback(bytes.data(), bytes.size(), &queues);
      }
      while (handled.load(std::memory_order_acquire) < (burst + 1) * kBurstLength) {
        std::this_thread::yield();
      }
    }
    producerDone.store(true, std::memory_order_release);
  });

  std::vector<std::vector<uint8_t>> received;
  received.reserve(kBursts * kBurstLength);
  std::string report;
  while (!producerDone.load(std::memory_order_acquire)) {
    queues.Drain(IgnoreShortMidiMessage, [&](const uint8_t* bytes, size_t size) {
      received.emplace_back(bytes, bytes + size);
      handled.fetch_add(1, std::memory_order_release);
    });
    report += queues.TakeDropReport();
  }
  producer.join();

  ASSERT_EQ(received.size(), kBursts * kBurstLength);
  for (uint32_t n = 0; n < received.size(); ++n) {
    ASSERT_EQ(received[n], chunk(n)) << "chunk " << n << " lost, damaged or reordered";
  }
  EXPECT_EQ(queues.DroppedSysexCount(), 0u);
  EXPECT_EQ(report, "");
}

TEST(ThreadedReceive, OverrunDropsWholeMessagesAndKeepsOrder) {
  constexpr uint32_t kCount = 20000;
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  MidiPorts ports(transport, settings);
  ports.Start();
  std::atomic<bool> producerDone{false};

  // The input thread runs flat out; the drain cannot keep up, so rings overflow.
  std::thread producer([&] {
    for (uint32_t n = 0; n < kCount; ++n) {
      transport.Deliver(NumberedSysex(n));
      transport.Deliver(NumberedShort(n));
    }
    producerDone.store(true, std::memory_order_release);
  });

  std::vector<int64_t> sysexNumbers;
  std::vector<uint32_t> shortNumbers;
  std::string report;
  auto pass = [&] {
    report += ports.Queues().TakeDropReport();
    ports.DrainMidiQueues(
        [&](const ShortMidiMessage& m) {
          shortNumbers.push_back((uint32_t{m.data1} << 7) | m.data2);
        },
        [&](const uint8_t* bytes, size_t size) {
          sysexNumbers.push_back(CheckNumberedSysex(bytes, size));
        });
  };
  while (!producerDone.load(std::memory_order_acquire)) pass();
  producer.join();
  pass();

  ASSERT_FALSE(sysexNumbers.empty());
  for (size_t i = 0; i < sysexNumbers.size(); ++i) {
    ASSERT_GE(sysexNumbers[i], 0) << "SysEx " << i << " damaged";
    if (i > 0) {
      ASSERT_GT(sysexNumbers[i], sysexNumbers[i - 1]) << "SysEx " << i << " reordered";
    }
  }
  EXPECT_EQ(sysexNumbers.size() + ports.Queues().DroppedSysexCount(), kCount);
  // Short numbers wrap at 14 bits; order holds within each wrap.
  for (size_t i = 1; i < shortNumbers.size(); ++i) {
    if (shortNumbers[i] < shortNumbers[i - 1]) {
      ASSERT_GT(shortNumbers[i - 1] - shortNumbers[i], 0x2000u) << "short " << i << " reordered";
    }
  }
  EXPECT_EQ(shortNumbers.size() + ports.Queues().DroppedShortCount(), kCount);
  // Asked while the input thread was still dropping: said once, or not at all
  // when nothing was lost.
  report += ports.Queues().TakeDropReport();
  const bool lost = ports.Queues().DroppedSysexCount() + ports.Queues().DroppedShortCount() > 0;
  EXPECT_EQ(report.empty(), !lost) << report;
  if (lost) {
    EXPECT_EQ(report.rfind("MIDI input: ", 0), 0u) << report;
    EXPECT_EQ(report.find("MIDI input: ", 1), std::string::npos) << report;
    EXPECT_NE(report.find(" messages dropped (receive queue full)\n"), std::string::npos);
  }
}

}  // namespace
}  // namespace qd3::test
