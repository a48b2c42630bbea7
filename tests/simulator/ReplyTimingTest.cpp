// Bursts, reply delay, jitter and write delay on the reply line, on the virtual clock.

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <vector>

#include "simulator/ReplyLine.h"

namespace qd3::sim::test {
namespace {

using namespace std::chrono_literals;

// What a line hands over, call by call: a burst sink call is one delivery of many.
struct Deliveries {
  void One(std::span<const uint8_t> message) {
    std::lock_guard lock(mutex);
    calls.push_back({Bytes(message.begin(), message.end())});
  }
  void Many(std::span<const Bytes> messages) {
    std::lock_guard lock(mutex);
    calls.emplace_back(messages.begin(), messages.end());
  }
  std::size_t Calls() {
    std::lock_guard lock(mutex);
    return calls.size();
  }
  std::mutex mutex;
  std::vector<std::vector<Bytes>> calls;
};

ReplyLine ManualLine(WireTiming timing, Deliveries& out, bool withBurstSink = true) {
  return ReplyLine(
      DeliveryMode::kManual, timing, [&out](std::span<const uint8_t> m) { out.One(m); },
      withBurstSink ? ReplyLine::BurstSink([&out](std::span<const Bytes> m) { out.Many(m); })
                    : ReplyLine::BurstSink());
}

std::vector<Bytes> Sequence() {
  return {Bytes(267, 1), Bytes(7, 2), Bytes(264, 3)};
}

TEST(ReplyTiming, BurstArrivesInOneDeliveryWhenItsLastByteHas) {
  WireTiming timing{Micros{2000}, 48000};
  timing.burst = true;
  Deliveries out;
  ReplyLine line = ManualLine(timing, out);
  const Micros due = Micros{2000} + TransmitTime(267 + 7 + 264, 48000);
  EXPECT_EQ(line.PostSequence(Sequence()), due);
  EXPECT_EQ(line.Pending(), 3u);
  EXPECT_EQ(line.AdvanceBy(due - Micros{1}), 0u);
  EXPECT_EQ(line.AdvanceBy(Micros{1}), 3u);
  ASSERT_EQ(out.calls.size(), 1u);
  EXPECT_EQ(out.calls[0], Sequence());
}

TEST(ReplyTiming, WithoutBurstTheSameSequenceIsSpacedByTheWire) {
  Deliveries out;
  ReplyLine line = ManualLine(WireTiming{Micros{2000}, 48000}, out);
  line.PostSequence(Sequence());
  EXPECT_EQ(line.AdvanceBy(Micros{2000} + TransmitTime(267, 48000)), 1u);
  EXPECT_EQ(line.AdvanceBy(TransmitTime(7, 48000)), 1u);
  EXPECT_EQ(line.AdvanceBy(TransmitTime(264, 48000)), 1u);
  EXPECT_EQ(out.calls.size(), 3u);
}

TEST(ReplyTiming, BurstWithoutABurstSinkStillGoesTogetherAndInOrder) {
  WireTiming timing{Micros{0}, 0};
  timing.burst = true;
  Deliveries out;
  ReplyLine line = ManualLine(timing, out, false);
  line.PostSequence(Sequence());
  line.PostSequence({Bytes(9, 4)});
  EXPECT_EQ(line.PumpOne(), 3u);  // the whole first burst, not one message of it
  ASSERT_EQ(out.calls.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(out.calls[i], std::vector<Bytes>{Sequence()[i]});
  EXPECT_EQ(line.PumpOne(), 1u);
}

TEST(ReplyTiming, SeparateSequencesAreSeparateBursts) {
  WireTiming timing{Micros{1000}, 0};
  timing.burst = true;
  Deliveries out;
  ReplyLine line = ManualLine(timing, out);
  line.PostSequence(Sequence());
  line.Post(Bytes(7, 5));
  EXPECT_EQ(line.PumpAll(), 4u);
  ASSERT_EQ(out.calls.size(), 2u);
  EXPECT_EQ(out.calls[1], std::vector<Bytes>{Bytes(7, 5)});
}

struct DelayCase {
  int64_t replyDelay;
  int64_t latency;
};

class ReplyDelay : public ::testing::TestWithParam<DelayCase> {};

TEST_P(ReplyDelay, HoldsEverySequenceOnTopOfTheLatency) {
  WireTiming timing{Micros{GetParam().latency}, 48000};
  timing.replyDelay = Micros{GetParam().replyDelay};
  Deliveries out;
  ReplyLine line = ManualLine(timing, out);
  for (int round = 0; round < 2; ++round) {
    line.Post(Bytes(48, 7));
    const Micros due = Micros{GetParam().latency + GetParam().replyDelay + 1000};
    EXPECT_EQ(line.AdvanceBy(due - Micros{1}), 0u) << "round " << round;
    EXPECT_EQ(line.AdvanceBy(Micros{1}), 1u) << "round " << round;
  }
}

INSTANTIATE_TEST_SUITE_P(ReplyTiming, ReplyDelay,
                         ::testing::Values(DelayCase{0, 2000}, DelayCase{5000, 2000},
                                           DelayCase{250000, 0}, DelayCase{1, 1}));

// The extra delay of each of `count` sequences, each posted on a quiet line.
std::vector<int64_t> JitterDraws(ReplyLine& line, int count) {
  std::vector<int64_t> draws;
  for (int i = 0; i < count; ++i) {
    const Micros posted = line.Now();
    draws.push_back((line.PostSequence({Bytes(3, 1)}) - posted).count());
    line.PumpAll();
    line.AdvanceBy(10ms);
  }
  return draws;
}

WireTiming Jittery(uint64_t seed) {
  WireTiming timing{Micros{0}, 0};
  timing.jitter = Micros{3000};
  timing.jitterSeed = seed;
  return timing;
}

TEST(ReplyTiming, JitterStaysWithinItsBoundsAndVaries) {
  Deliveries out;
  ReplyLine line = ManualLine(Jittery(7), out);
  const std::vector<int64_t> draws = JitterDraws(line, 300);
  int64_t low = draws[0];
  int64_t high = draws[0];
  for (const int64_t draw : draws) {
    EXPECT_GE(draw, 0);
    EXPECT_LE(draw, 3000);
    low = std::min(low, draw);
    high = std::max(high, draw);
  }
  EXPECT_LT(low, 300);
  EXPECT_GT(high, 2700);
  EXPECT_EQ(out.calls.size(), 300u);
}

TEST(ReplyTiming, JitterDeliversAtTheDrawnTime) {
  Deliveries out;
  ReplyLine probe = ManualLine(Jittery(11), out);
  const int64_t first = JitterDraws(probe, 1)[0];
  ReplyLine line = ManualLine(Jittery(11), out);
  line.Post(Bytes(3, 1));
  if (first > 0) {
    EXPECT_EQ(line.AdvanceBy(Micros{first - 1}), 0u);
  }
  EXPECT_EQ(line.AdvanceBy(Micros{first > 0 ? 1 : 0}), 1u);
}

TEST(ReplyTiming, TheSameSeedGivesTheSameDelays) {
  Deliveries out;
  ReplyLine a = ManualLine(Jittery(42), out);
  ReplyLine b = ManualLine(Jittery(42), out);
  ReplyLine c = ManualLine(Jittery(43), out);
  const std::vector<int64_t> drawsA = JitterDraws(a, 50);
  EXPECT_EQ(JitterDraws(b, 50), drawsA);
  EXPECT_NE(JitterDraws(c, 50), drawsA);
  // Setting the timing again starts over from the seed.
  a.SetTiming(Jittery(42));
  EXPECT_EQ(JitterDraws(a, 50), drawsA);
}

TEST(ReplyTiming, JitterNeverReordersSequences) {
  Deliveries out;
  ReplyLine line = ManualLine(Jittery(3), out);
  for (uint8_t i = 0; i < 40; ++i) line.Post(Bytes(3, i));
  EXPECT_EQ(line.PumpAll(), 40u);
  for (uint8_t i = 0; i < 40; ++i) EXPECT_EQ(out.calls[i][0], Bytes(3, i));
}

TEST(ReplyTiming, WriteDelayHoldsTheAcknowledgementAndWhatFollows) {
  WireTiming timing{Micros{2000}, 48000};
  timing.writeDelay = 50ms;
  Deliveries out;
  ReplyLine line = ManualLine(timing, out);
  const Micros ackDue = 50ms + Micros{2000} + TransmitTime(7, 48000);
  EXPECT_EQ(line.PostSequence({Bytes(7, 0x71)}, true), ackDue);
  // Asked while the write runs: answered once it is done, behind the acknowledgement.
  line.AdvanceBy(10ms);
  line.PostSequence({Bytes(9, 2)});
  EXPECT_EQ(line.AdvanceBy(ackDue - 10ms - Micros{1}), 0u);
  EXPECT_EQ(line.AdvanceBy(Micros{1}), 1u);
  EXPECT_EQ(line.PumpAll(), 1u);
  EXPECT_EQ(line.VirtualNow(), ackDue + TransmitTime(9, 48000));
  // A message that is not a write is answered without the delay.
  const Micros posted = line.Now();
  EXPECT_EQ(line.PostSequence({Bytes(7, 3)}) - posted, Micros{2000} + TransmitTime(7, 48000));
}

TEST(ReplyTiming, AWriteWithoutAnswerStillKeepsThePedalBusy) {
  WireTiming timing{Micros{1000}, 0};
  timing.writeDelay = 30ms;
  Deliveries out;
  ReplyLine line = ManualLine(timing, out);
  EXPECT_EQ(line.PostSequence({}, true), 30ms);
  EXPECT_EQ(line.Pending(), 0u);
  line.Post(Bytes(7, 1));
  EXPECT_EQ(line.AdvanceBy(31ms - Micros{1}), 0u);
  EXPECT_EQ(line.AdvanceBy(Micros{1}), 1u);
}

TEST(ReplyTiming, DefaultsChangeNothing) {
  const WireTiming timing;
  EXPECT_FALSE(timing.burst);
  EXPECT_EQ(timing.replyDelay, Micros{0});
  EXPECT_EQ(timing.jitter, Micros{0});
  EXPECT_EQ(timing.writeDelay, Micros{0});
  Deliveries out;
  ReplyLine line = ManualLine(timing, out);
  EXPECT_EQ(line.PostSequence({Bytes(7, 1)}, true), Micros{2000} + TransmitTime(7, 48000));
}

TEST(ReplyTiming, NegativeDelaysCountAsNone) {
  WireTiming timing{Micros{0}, 0};
  timing.replyDelay = Micros{-5000};
  timing.jitter = Micros{-5000};
  timing.writeDelay = Micros{-5000};
  Deliveries out;
  ReplyLine line = ManualLine(timing, out);
  line.AdvanceBy(10ms);
  EXPECT_EQ(line.PostSequence({Bytes(7, 1)}, true), 10ms);
}

TEST(ReplyTiming, PacedLineHoldsTheReplyDelayAndDeliversABurstInOneCall) {
  WireTiming timing{Micros{0}, 48000};
  timing.burst = true;
  timing.replyDelay = 40ms;
  Deliveries out;
  ReplyLine line(
      DeliveryMode::kPaced, timing, [&out](std::span<const uint8_t> m) { out.One(m); },
      [&out](std::span<const Bytes> m) { out.Many(m); });
  const auto start = std::chrono::steady_clock::now();
  line.PostSequence(Sequence());
  ASSERT_TRUE(line.WaitIdle(10s));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 40ms + TransmitTime(538, 48000));
  ASSERT_EQ(out.Calls(), 1u);
  EXPECT_EQ(out.calls[0], Sequence());
}

}  // namespace
}  // namespace qd3::sim::test
