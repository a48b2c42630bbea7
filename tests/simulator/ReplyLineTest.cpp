// Pacing of the pedal's answers on the wire.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

#include "simulator/ReplyLine.h"

namespace qd3::sim::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct TransmitCase {
  std::size_t size;
  double rate;
  int64_t micros;
};

void PrintTo(const TransmitCase& c, std::ostream* os) {
  *os << c.size << " bytes at " << c.rate << " B/s";
}

class Transmit : public ::testing::TestWithParam<TransmitCase> {};

TEST_P(Transmit, TimeIsSizeOverRateRoundedUp) {
  EXPECT_EQ(TransmitTime(GetParam().size, GetParam().rate).count(), GetParam().micros);
}

INSTANTIATE_TEST_SUITE_P(Wire, Transmit,
                         ::testing::Values(TransmitCase{3, 48000, 63},  // 62.5 us
                                           TransmitCase{48, 48000, 1000},
                                           TransmitCase{267, 48000, 5563},
                                           TransmitCase{7, 48000, 146}, TransmitCase{267, 0, 0},
                                           TransmitCase{267, -1, 0}, TransmitCase{0, 48000, 0}));

// Records what a line delivers.
struct Recorder {
  void operator()(std::span<const uint8_t> message) {
    std::lock_guard lock(mutex);
    messages.emplace_back(message.begin(), message.end());
    times.push_back(Clock::now());
  }
  std::size_t Count() {
    std::lock_guard lock(mutex);
    return messages.size();
  }
  std::mutex mutex;
  std::vector<Bytes> messages;
  std::vector<Clock::time_point> times;
};

TEST(ReplyLine, ManualLineFollowsTheScheduleOnTheVirtualClock) {
  Recorder recorder;
  ReplyLine line(DeliveryMode::kManual, WireTiming{Micros{2000}, 48000},
                 [&](std::span<const uint8_t> m) { recorder(m); });
  line.Post(Bytes(267, 1));  // due 2000 + 5563
  line.Post(Bytes(7, 2));    // waits for the wire: due 7563 + 146
  EXPECT_EQ(line.Pending(), 2u);
  EXPECT_EQ(line.AdvanceBy(Micros{7562}), 0u);
  EXPECT_EQ(line.AdvanceBy(Micros{1}), 1u);
  EXPECT_EQ(line.AdvanceBy(Micros{145}), 0u);
  EXPECT_EQ(line.AdvanceBy(Micros{1}), 1u);
  ASSERT_EQ(recorder.messages.size(), 2u);
  EXPECT_EQ(recorder.messages[0], Bytes(267, 1));
  EXPECT_EQ(recorder.messages[1], Bytes(7, 2));

  // A message posted long after the wire went quiet waits only for the latency.
  line.AdvanceBy(Micros{100000});
  line.Post(Bytes(48, 3));
  EXPECT_EQ(line.AdvanceBy(Micros{2999}), 0u);
  EXPECT_EQ(line.AdvanceBy(Micros{1}), 1u);
}

TEST(ReplyLine, PumpsDeliverInOrderAndMoveTheClock) {
  Recorder recorder;
  ReplyLine line(DeliveryMode::kManual, WireTiming{},
                 [&](std::span<const uint8_t> m) { recorder(m); });
  for (uint8_t i = 0; i < 5; ++i) line.Post(Bytes(10, i));
  EXPECT_EQ(line.PumpOne(), 1u);
  EXPECT_EQ(line.PumpAll(), 4u);
  EXPECT_EQ(line.PumpAll(), 0u);
  for (uint8_t i = 0; i < 5; ++i) EXPECT_EQ(recorder.messages[i], Bytes(10, i));
  EXPECT_EQ(line.VirtualNow(), Micros{2000} + 5 * TransmitTime(10, 48000));
}

TEST(ReplyLine, ImmediateLineDeliversInsidePost) {
  Recorder recorder;
  ReplyLine line(DeliveryMode::kImmediate, WireTiming{},
                 [&](std::span<const uint8_t> m) { recorder(m); });
  line.Post(Bytes(3, 9));
  EXPECT_EQ(recorder.Count(), 1u);
  EXPECT_EQ(line.Pending(), 0u);
  EXPECT_EQ(line.PumpAll(), 0u);
}

TEST(ReplyLine, PacedLineRespectsTheByteRate) {
  // 20 messages of 500 bytes at 100 bytes per millisecond: the wire needs 100 ms.
  Recorder recorder;
  ReplyLine line(DeliveryMode::kPaced, WireTiming{Micros{0}, 100000},
                 [&](std::span<const uint8_t> m) { recorder(m); });
  const auto start = Clock::now();
  for (uint8_t i = 0; i < 20; ++i) line.Post(Bytes(500, i));
  ASSERT_TRUE(line.WaitIdle(10s));
  ASSERT_EQ(recorder.Count(), 20u);
  // Never early; the upper bound only guards against a line that does not pace at all
  // being mistaken for a slow machine, so it is loose.
  for (std::size_t i = 0; i < 20; ++i) {
    EXPECT_GE(recorder.times[i] - start, (i + 1) * 5ms) << "message " << i;
    EXPECT_EQ(recorder.messages[i], Bytes(500, static_cast<uint8_t>(i)));
  }
  EXPECT_LT(recorder.times.back() - start, 5s);
}

TEST(ReplyLine, PacedLineHonoursTheLatency) {
  Recorder recorder;
  ReplyLine line(DeliveryMode::kPaced, WireTiming{Micros{30000}, 0},
                 [&](std::span<const uint8_t> m) { recorder(m); });
  const auto start = Clock::now();
  line.Post(Bytes(7, 1));
  ASSERT_TRUE(line.WaitIdle(10s));
  ASSERT_EQ(recorder.Count(), 1u);
  EXPECT_GE(recorder.times[0] - start, 30ms);
}

TEST(ReplyLine, StoppingDropsWhatIsStillOnTheWire) {
  std::atomic<int> delivered{0};
  {
    ReplyLine line(DeliveryMode::kPaced, WireTiming{Micros{0}, 1000},
                   [&](std::span<const uint8_t>) { ++delivered; });
    for (int i = 0; i < 10; ++i) line.Post(Bytes(100, 0));  // 100 ms each
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_LT(delivered.load(), 10);
}

TEST(ReplyLine, PostsFromManyThreadsAllArrive) {
  Recorder recorder;
  ReplyLine line(DeliveryMode::kPaced, WireTiming{Micros{0}, 0},
                 [&](std::span<const uint8_t> m) { recorder(m); });
  std::vector<std::thread> senders;
  for (int t = 0; t < 4; ++t) {
    senders.emplace_back([&line, t] {
      for (int i = 0; i < 50; ++i) line.Post(Bytes(4, static_cast<uint8_t>(t)));
    });
  }
  for (auto& sender : senders) sender.join();
  ASSERT_TRUE(line.WaitIdle(10s));
  EXPECT_EQ(recorder.Count(), 200u);
}

}  // namespace
}  // namespace qd3::sim::test
