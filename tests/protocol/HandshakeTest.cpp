#include "protocol/Handshake.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "protocol/DeviceMessages.h"

namespace qd3 {
namespace {

TEST(Handshake, FirmwareVersionsAreServedOnlyFromOneToTheNewestWholeVersion) {
  const struct {
    int tenths;
    const char* refusal;  // nullptr: served
  } cases[] = {
      {0, "Please upgrade QD3 to actual version 11."},
      {9, "Please upgrade QD3 to actual version 11."},
      {10, nullptr},
      {110, nullptr},
      {119, nullptr},
      {120, kTextUpgradeEditor},
      {127, kTextUpgradeEditor},
  };
  for (const auto& c : cases) {
    const auto refusal = FirmwareVersionRefusal(c.tenths);
    if (c.refusal == nullptr) {
      EXPECT_FALSE(refusal.has_value()) << c.tenths;
    } else {
      ASSERT_TRUE(refusal.has_value()) << c.tenths;
      EXPECT_EQ(*refusal, c.refusal) << c.tenths;
    }
  }
}

TEST(Handshake, ThePollLeavesOnEveryThirtyThirdTickAndRestsWhileDisabled) {
  DeviceSession session;
  std::vector<int> due;
  for (int tick = 1; tick <= 70; ++tick) {
    if (PollDue(session)) due.push_back(tick);
  }
  EXPECT_EQ(due, (std::vector<int>{33, 66}));

  session.pollEnabled = false;
  EXPECT_FALSE(PollDue(session));
  EXPECT_EQ(session.pollTicks, 0);
}

std::vector<uint8_t> DeviceInfoWithSerial(const char* serial) {
  std::vector<uint8_t> m(kRecordMessageSize, 0);
  std::memset(m.data() + kSerialOffset, ' ', kSerialSize);
  std::memcpy(m.data() + kSerialOffset, serial, std::strlen(serial));
  return m;
}

TEST(Handshake, TheSerialEndsAtANulAndLosesItsTrailingSpaces) {
  EXPECT_EQ(ReadSerialNumber(DeviceInfoWithSerial("QD3-0001")), "QD3-0001");
  auto withNul = DeviceInfoWithSerial("QD3-7 X");
  withNul[kSerialOffset + 5] = 0;
  EXPECT_EQ(ReadSerialNumber(withNul), "QD3-7");
  EXPECT_EQ(ReadSerialNumber(DeviceInfoWithSerial("")), "");
  // A message cut short before the field reads as no serial, not past its end.
  EXPECT_EQ(ReadSerialNumber(std::vector<uint8_t>(kSerialOffset + 3, 'A')), "AAA");
}

}  // namespace
}  // namespace qd3
