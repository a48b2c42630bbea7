#include "protocol/DeviceReplies.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "protocol/Checksum14.h"
#include "protocol/MessageMatch.h"
#include "tests/support/TestBytes.h"

namespace qd3 {
namespace {

using test::Hex;
using test::Join;
using test::Repeat;
using test::Text;

TEST(DeviceReplies, StatusRepliesHaveNoVersionByte) {
  EXPECT_EQ(BuildStatus(kCmdResetDone), Hex("F0 00 3F 6B 03 57 F7"));
  EXPECT_EQ(BuildStatus(kCmdWriteAckAlt), Hex("F0 00 3F 6B 03 7D F7"));
  for (const DeviceCommand command : {kCmdResetDone, kCmdAck, kCmdIrStored, kCmdDeviceError,
                                      kCmdIrChunkAck, kCmdWriteAck, kCmdWriteNak, kCmdWriteNext}) {
    EXPECT_EQ(MatchFromDevice(BuildStatus(command)), command) << int{command};
  }
}

TEST(DeviceReplies, LoaderReplies) {
  EXPECT_EQ(BuildLoaderReply(kLoaderReady), Hex("F0 00 3F 6B 02 12 F7"));
  EXPECT_EQ(BuildLoaderReply(kLoaderDone), Hex("F0 00 3F 6B 02 14 F7"));
  EXPECT_EQ(BuildLoaderReply(kLoaderFailed), Hex("F0 00 3F 6B 02 15 F7"));
}

TEST(DeviceReplies, ParamEchoAndPresetDump) {
  EXPECT_EQ(BuildParamEcho(1, 65), Hex("F0 00 3F 6B 03 51 0B 01 41 F7"));
  const Bytes record = Join({Hex("01"), Repeat(254, 0x10), Hex("7F")});
  EXPECT_EQ(BuildPresetDump(9, record),
            Join({Hex("F0 00 3F 6B 03 41 0B 09"), record, Hex("20 60 F7")}));
}

TEST(DeviceReplies, DeviceInfoCarriesVersionAndSerial) {
  // "SN-0001" sums to 399, 25 padding spaces to 800: 1199 = 9 * 128 + 47.
  EXPECT_EQ(BuildDeviceInfo(11, "SN-0001"),
            Join({Hex("F0 00 3F 6B 03 52 0B 0F"), Repeat(224, 0), Text("SN-0001"), Repeat(25, ' '),
                  Hex("09 2F F7")}));
  const Bytes info = BuildDeviceInfo(12, "X");
  EXPECT_EQ(info[kVersionOffset], 12);
  EXPECT_TRUE(VerifyRecordChecksum(info));
  EXPECT_EQ(ReadName32(info, kSerialOffset), "X");
}

TEST(DeviceReplies, IrNamesArePaddedToThirtyTwo) {
  const std::array<std::string, 8> names = {"A", "", "", "", "", "", "", ""};
  // 65 + 31 spaces + 7 x 32 spaces = 8225 = 64 * 128 + 33.
  EXPECT_EQ(BuildIrNames(3, names),
            Join({Hex("F0 00 3F 6B 03 6B 0B 03 41"), Repeat(255, ' '), Hex("40 21 F7")}));
}

TEST(DeviceReplies, IrName) {
  EXPECT_EQ(BuildIrName("Greenback"), Join({Hex("F0 00 3F 6B 03 7B 0B"), Text("Greenback"),
                                            Repeat(23, ' '), Hex("00 00 F7")}));
}

}  // namespace
}  // namespace qd3
