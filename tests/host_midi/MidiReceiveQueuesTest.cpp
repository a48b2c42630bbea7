#include <gtest/gtest.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "host/MidiReceiveQueues.h"
#include "host/SpscRing.h"

namespace qd3::test {
namespace {

using Bytes = std::vector<uint8_t>;

// A SysEx of exactly size bytes (F0, a marker, a counting body, F7).
Bytes Sysex(size_t size, uint8_t marker = 0x01) {
  Bytes bytes(size);
  bytes.front() = 0xF0;
  for (size_t i = 1; i + 1 < size; ++i) bytes[i] = static_cast<uint8_t>(i & 0x7F);
  if (size > 2) bytes[1] = marker;
  bytes.back() = 0xF7;
  return bytes;
}

struct Received {
  std::vector<std::tuple<uint8_t, uint8_t, uint8_t>> shorts;
  std::vector<Bytes> sysex;
};

Received DrainAll(MidiReceiveQueues& queues) {
  Received received;
  queues.Drain(
      [&](const ShortMidiMessage& m) {
        EXPECT_EQ(m.offset, 0);
        received.shorts.emplace_back(m.status, m.data1, m.data2);
      },
      [&](const uint8_t* bytes, size_t size) { received.sysex.emplace_back(bytes, bytes + size); });
  return received;
}

struct QueueCase {
  const char* what;
  std::vector<Bytes> input;  // delivered before one drain pass
  std::vector<std::tuple<uint8_t, uint8_t, uint8_t>> expectShorts;
  std::vector<Bytes> expectSysex;
  uint64_t expectDroppedShort;
  uint64_t expectDroppedSysex;
};

// Names the case instead of dumping its bytes.
void PrintTo(const QueueCase& c, std::ostream* os) {
  *os << c.what;
}

// The longest message the pedal sends: one chunk of an impulse-response transfer.
constexpr size_t kLongestPedalMessage = 269;

// count SysEx messages of the same size, told apart by their marker byte.
std::vector<Bytes> Numbered(size_t size, size_t count) {
  std::vector<Bytes> messages;
  for (size_t i = 0; i < count; ++i) messages.push_back(Sysex(size, static_cast<uint8_t>(i)));
  return messages;
}

std::vector<Bytes> Concat(std::vector<Bytes> first, const std::vector<Bytes>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

std::vector<Bytes> NoteOns(size_t count) {
  std::vector<Bytes> notes;
  for (size_t i = 0; i < count; ++i) notes.push_back({0x90, static_cast<uint8_t>(i), 0x64});
  return notes;
}

std::vector<std::tuple<uint8_t, uint8_t, uint8_t>> NoteOnTuples(size_t count) {
  std::vector<std::tuple<uint8_t, uint8_t, uint8_t>> notes;
  for (size_t i = 0; i < count; ++i) notes.emplace_back(0x90, static_cast<uint8_t>(i), 0x64);
  return notes;
}

class QueueRulesTest : public testing::TestWithParam<QueueCase> {};

TEST_P(QueueRulesTest, SortsByLengthAndDropsWhatDoesNotFit) {
  const QueueCase& c = GetParam();
  MidiReceiveQueues queues;
  for (const Bytes& message : c.input) queues.OnMidiInput(message.data(), message.size());

  const Received received = DrainAll(queues);
  EXPECT_EQ(received.shorts, c.expectShorts);
  EXPECT_EQ(received.sysex, c.expectSysex);
  EXPECT_EQ(queues.DroppedShortCount(), c.expectDroppedShort);
  EXPECT_EQ(queues.DroppedSysexCount(), c.expectDroppedSysex);

  const Received again = DrainAll(queues);
  EXPECT_TRUE(again.shorts.empty() && again.sysex.empty()) << "a drain leaves both rings empty";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, QueueRulesTest,
    testing::Values(
        QueueCase{
            "NoteOnGoesToTheShortQueue", {{0x90, 0x3C, 0x64}}, {{0x90, 0x3C, 0x64}}, {}, 0, 0},
        QueueCase{"TwoByteMessageGetsAZeroSecondDataByte",
                  {{0xC0, 0x05}},
                  {{0xC0, 0x05, 0x00}},
                  {},
                  0,
                  0},
        QueueCase{"OneByteMessageGetsZeroDataBytes", {{0xFE}}, {{0xFE, 0x00, 0x00}}, {}, 0, 0},
        QueueCase{"FourByteSysexGoesToTheSysexQueue",
                  {{0xF0, 0x01, 0x02, 0xF7}},
                  {},
                  {{0xF0, 0x01, 0x02, 0xF7}},
                  0,
                  0},
        QueueCase{"EmptyMessageIsIgnored", {{}}, {}, {}, 0, 0},
        QueueCase{"MaxSizeSysexIsDeliveredWhole", {Sysex(512)}, {}, {Sysex(512)}, 0, 0},
        QueueCase{"OneByteTooLongIsDropped", {Sysex(513)}, {}, {}, 0, 1},
        QueueCase{"SysexBeyondCapacityBeforeTheDrainIsDropped",
                  Numbered(8, kSysexQueueCapacity + 1),
                  {},
                  Numbered(8, kSysexQueueCapacity),
                  0,
                  1},
        QueueCase{"ImpulseResponseBurstOfElevenFullLengthMessagesArrives",
                  Numbered(kLongestPedalMessage, 11),
                  {},
                  Numbered(kLongestPedalMessage, 11),
                  0,
                  0},
        QueueCase{"ThirtyThirdShortIsDropped", NoteOns(33), NoteOnTuples(32), {}, 1, 0},
        QueueCase{"FullSysexQueueStillTakesShortMessages",
                  Concat(Numbered(6, kSysexQueueCapacity + 1), {{0xB0, 7, 99}}),
                  {{0xB0, 7, 99}},
                  Numbered(6, kSysexQueueCapacity),
                  0,
                  1},
        QueueCase{"ShortMessagesComeFirstInAPass",
                  {Sysex(5, 9), {0x80, 0x3C, 0x00}},
                  {{0x80, 0x3C, 0x00}},
                  {Sysex(5, 9)},
                  0,
                  0}),
    [](const testing::TestParamInfo<QueueCase>& param) { return std::string(param.param.what); });

TEST(MidiReceiveQueues, ExitingFlagDiscardsEverything) {
  MidiReceiveQueues queues;
  queues.SetExiting();
  const Bytes note = {0x90, 0x3C, 0x64};
  const Bytes sysex = Sysex(10);
  queues.OnMidiInput(note.data(), note.size());
  queues.OnMidiInput(sysex.data(), sysex.size());

  const Received received = DrainAll(queues);
  EXPECT_TRUE(received.shorts.empty());
  EXPECT_TRUE(received.sysex.empty());
  EXPECT_TRUE(queues.Exiting());
}

TEST(MidiReceiveQueues, OrderHoldsAcrossDrainsAndRingWrapAround) {
  MidiReceiveQueues queues;
  std::vector<Bytes> sent;
  std::vector<Bytes> received;
  uint8_t marker = 0;
  // Uneven batches (1..capacity, a step prime to the ring's slot count) so that
  // the indices wrap at every position of the ring.
  std::vector<size_t> batches;
  for (size_t i = 0; i < 2 * SpscRing<int, kSysexQueueCapacity>::kSlots; ++i) {
    batches.push_back(1 + (i * 29) % kSysexQueueCapacity);
  }
  for (size_t batch : batches) {
    for (size_t i = 0; i < batch; ++i) {
      const Bytes message = Sysex(4 + marker % 60, marker);
      ++marker;
      queues.OnMidiInput(message.data(), message.size());
      sent.push_back(message);
    }
    for (const Bytes& message : DrainAll(queues).sysex) received.push_back(message);
  }
  EXPECT_EQ(received, sent);
  EXPECT_EQ(queues.DroppedSysexCount(), 0u);
}

TEST(MidiReceiveQueues, ShortRingKeepsOrderOverManyPasses) {
  MidiReceiveQueues queues;
  std::vector<std::tuple<uint8_t, uint8_t, uint8_t>> sent;
  std::vector<std::tuple<uint8_t, uint8_t, uint8_t>> received;
  unsigned counter = 0;
  for (size_t batch : {32, 7, 31, 32, 1, 20}) {
    for (size_t i = 0; i < batch; ++i, ++counter) {
      const Bytes cc = {0xB0, static_cast<uint8_t>(counter & 0x7F),
                        static_cast<uint8_t>((counter >> 7) & 0x7F)};
      queues.OnMidiInput(cc.data(), cc.size());
      sent.emplace_back(cc[0], cc[1], cc[2]);
    }
    for (const auto& m : DrainAll(queues).shorts) received.push_back(m);
  }
  EXPECT_EQ(received, sent);
  EXPECT_EQ(queues.DroppedShortCount(), 0u);
}

TEST(MidiReceiveQueues, RingAcceptsAgainOnceDrained) {
  MidiReceiveQueues queues;
  for (const Bytes& message : Numbered(6, kSysexQueueCapacity + 2)) {
    queues.OnMidiInput(message.data(), message.size());
  }
  EXPECT_EQ(DrainAll(queues).sysex.size(), kSysexQueueCapacity);
  const Bytes late = Sysex(6, 0x55);
  queues.OnMidiInput(late.data(), late.size());
  EXPECT_EQ(DrainAll(queues).sysex, std::vector<Bytes>{late});
  EXPECT_EQ(queues.DroppedSysexCount(), 2u);
}

TEST(MidiReceiveQueues, SixtyFourMessagesOfFiveHundredTwelveBytesAllArrive) {
  MidiReceiveQueues queues;
  const std::vector<Bytes> burst = Numbered(512, 64);
  for (const Bytes& message : burst) queues.OnMidiInput(message.data(), message.size());
  EXPECT_EQ(DrainAll(queues).sysex, burst);
  EXPECT_EQ(queues.DroppedSysexCount(), 0u);
}

class BurstBeyondCapacityTest : public testing::TestWithParam<size_t> {};

TEST_P(BurstBeyondCapacityTest, KeepsTheFirstMessagesAndCountsEveryOneLost) {
  const size_t excess = GetParam();
  MidiReceiveQueues queues;
  const std::vector<Bytes> burst = Numbered(kLongestPedalMessage, kSysexQueueCapacity + excess);
  for (const Bytes& message : burst) queues.OnMidiInput(message.data(), message.size());

  const Received received = DrainAll(queues);
  EXPECT_EQ(received.sysex, std::vector<Bytes>(burst.begin(), burst.begin() + kSysexQueueCapacity));
  EXPECT_EQ(queues.DroppedSysexCount(), excess);
  EXPECT_EQ(queues.DroppedSysexQueueFullCount(), excess);
  EXPECT_EQ(queues.DroppedSysexTooLongCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Excess, BurstBeyondCapacityTest, testing::Values(1, 11, 100));

TEST(MidiReceiveQueues, DropReportSaysEachCauseOnceWithItsCount) {
  MidiReceiveQueues queues;
  EXPECT_EQ(queues.TakeDropReport(), "") << "nothing lost, nothing to say";
  for (const Bytes& message : Numbered(20, kSysexQueueCapacity + 3)) {
    queues.OnMidiInput(message.data(), message.size());
  }
  EXPECT_EQ(queues.TakeDropReport(), "MIDI input: 3 messages dropped (receive queue full)\n");

  const Bytes more = Sysex(20);
  queues.OnMidiInput(more.data(), more.size());
  EXPECT_EQ(queues.DroppedSysexCount(), 4u);
  EXPECT_EQ(queues.TakeDropReport(), "") << "printed once, not once per loss";

  const Bytes tooLong = Sysex(kMaxSysexSize + 1);
  queues.OnMidiInput(tooLong.data(), tooLong.size());
  queues.OnMidiInput(tooLong.data(), tooLong.size());
  EXPECT_EQ(queues.TakeDropReport(), "MIDI input: 2 messages dropped (longer than 512 bytes)\n");
  EXPECT_EQ(queues.TakeDropReport(), "");
}

TEST(MidiReceiveQueues, DropReportCountsShortMessagesThatMetAFullRing) {
  MidiReceiveQueues queues;
  for (const Bytes& note : NoteOns(kShortMidiQueueCapacity + 2)) {
    queues.OnMidiInput(note.data(), note.size());
  }
  EXPECT_EQ(queues.TakeDropReport(), "MIDI input: 2 messages dropped (receive queue full)\n");
}

TEST(SpscRing, HoldsCapacityElementsInCapacityPlusOneSlots) {
  SpscRing<int, 2> ring;
  static_assert(SpscRing<int, 2>::kSlots == 3);
  EXPECT_TRUE(ring.TryPush([](int& slot) { slot = 1; }));
  EXPECT_TRUE(ring.TryPush([](int& slot) { slot = 2; }));
  bool filled = false;
  EXPECT_FALSE(ring.TryPush([&](int&) { filled = true; }));
  EXPECT_FALSE(filled) << "a refused push must not touch the slot the consumer may read";

  int value = 0;
  ASSERT_TRUE(ring.TryPop(value));
  EXPECT_EQ(value, 1);
  EXPECT_TRUE(ring.TryPush([](int& slot) { slot = 3; }));
  ASSERT_TRUE(ring.TryPop(value));
  EXPECT_EQ(value, 2);
  ASSERT_TRUE(ring.TryPop(value));
  EXPECT_EQ(value, 3);
  EXPECT_FALSE(ring.TryPop(value));
}

}  // namespace
}  // namespace qd3::test

namespace qd3 {
namespace {

uint64_t TakeWakeCount(int fd) {
  uint64_t count = 0;
  return read(fd, &count, sizeof count) == static_cast<ssize_t>(sizeof count) ? count : 0;
}

TEST(MidiReceiveQueues, WakesTheDrainingLoopForEveryMessageKept) {
  const int fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  ASSERT_GE(fd, 0);
  MidiReceiveQueues queues;
  const std::vector<uint8_t> sysex = {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x57, 0xF7};
  const std::vector<uint8_t> noteOn = {0x90, 0x40, 0x7F};

  queues.OnMidiInput(sysex.data(), sysex.size());
  EXPECT_EQ(TakeWakeCount(fd), 0u) << "no descriptor set: nobody is woken";

  queues.SetWakeFd(fd);
  queues.OnMidiInput(sysex.data(), sysex.size());
  queues.OnMidiInput(noteOn.data(), noteOn.size());
  EXPECT_EQ(TakeWakeCount(fd), 2u);

  // The SysEx ring now holds two messages; capacity - 2 more fit, the next is dropped.
  for (size_t i = 0; i + 1 < kSysexQueueCapacity; ++i) {
    queues.OnMidiInput(sysex.data(), sysex.size());
  }
  EXPECT_EQ(TakeWakeCount(fd), kSysexQueueCapacity - 2) << "a dropped message wakes nobody";
  EXPECT_EQ(queues.DroppedSysexCount(), 1u);

  queues.SetWakeFd(-1);
  queues.OnMidiInput(noteOn.data(), noteOn.size());
  EXPECT_EQ(TakeWakeCount(fd), 0u);
  close(fd);
}

}  // namespace
}  // namespace qd3
