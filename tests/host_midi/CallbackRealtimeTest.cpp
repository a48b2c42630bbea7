#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "host/MidiReceiveQueues.h"
#include "tests/host_midi/RealtimeProbe.h"

namespace qd3::test {
namespace {

// Keeps the compiler from proving the allocation unused and removing it.
void Escape(const void* p) {
  asm volatile("" : : "g"(p) : "memory");
}

// The probe must see what it is meant to catch, in this very build; otherwise
// the callback test below would pass for the wrong reason.
TEST(RealtimeProbe, SeesAllocationsAndLocks) {
  std::mutex mutex;
  uint64_t allocations = 0;
  uint64_t locks = 0;
  {
    ScopedRealtimeProbe probe;
    std::vector<uint8_t> grown;
    grown.push_back(1);
    Escape(grown.data());
    void* raw = std::malloc(16);
    Escape(raw);
    std::free(raw);
    { std::lock_guard lock(mutex); }
    allocations = probe.Allocations();
    locks = probe.Locks();
  }
  EXPECT_GE(allocations, 2u);
  EXPECT_EQ(locks, 1u);
}

TEST(RealtimeProbe, CountsNothingWhenIdle) {
  ScopedRealtimeProbe probe;
  int sum = 0;
  for (int i = 0; i < 10; ++i) sum += i;
  EXPECT_EQ(sum, 45);
  EXPECT_EQ(probe.Allocations(), 0u);
  EXPECT_EQ(probe.Locks(), 0u);
}

struct CallbackCase {
  const char* what;
  std::vector<uint8_t> message;
  int repeat;  // enough to reach the full-ring drop path where it matters
};

// Names the case instead of dumping its bytes.
void PrintTo(const CallbackCase& c, std::ostream* os) {
  *os << c.what;
}

class InputCallbackRealtimeTest : public testing::TestWithParam<CallbackCase> {};

TEST_P(InputCallbackRealtimeTest, NeitherAllocatesNorLocks) {
  const CallbackCase& c = GetParam();
  MidiReceiveQueues queues;
  uint64_t allocations = 0;
  uint64_t locks = 0;
  {
    ScopedRealtimeProbe probe;
    for (int i = 0; i < c.repeat; ++i) {
      MidiReceiveQueues::InputCallback(c.message.data(), c.message.size(), &queues);
    }
    allocations = probe.Allocations();
    locks = probe.Locks();
  }
  EXPECT_EQ(allocations, 0u);
  EXPECT_EQ(locks, 0u);
}

std::vector<uint8_t> SysexOfSize(size_t size) {
  std::vector<uint8_t> bytes(size, 0x11);
  bytes.front() = 0xF0;
  bytes.back() = 0xF7;
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, InputCallbackRealtimeTest,
    testing::Values(CallbackCase{"ShortQueuedAndDropped", {0x90, 0x3C, 0x64}, 40},
                    CallbackCase{"OneByte", {0xFE}, 1},
                    CallbackCase{"Sysex267QueuedAndDropped", SysexOfSize(267),
                                 static_cast<int>(kSysexQueueCapacity) + 2},
                    CallbackCase{"Sysex512", SysexOfSize(512), 1},
                    CallbackCase{"SysexTooLong", SysexOfSize(513), 2},
                    CallbackCase{"Empty", {}, 1}),
    [](const testing::TestParamInfo<CallbackCase>& param) {
      return std::string(param.param.what);
    });

TEST(InputCallbackRealtime, ExitingPathNeitherAllocatesNorLocks) {
  MidiReceiveQueues queues;
  queues.SetExiting();
  const std::vector<uint8_t> sysex = SysexOfSize(100);
  ScopedRealtimeProbe probe;
  MidiReceiveQueues::InputCallback(sysex.data(), sysex.size(), &queues);
  EXPECT_EQ(probe.Allocations(), 0u);
  EXPECT_EQ(probe.Locks(), 0u);
}

}  // namespace
}  // namespace qd3::test
