// The traffic log's lines.

#include <gtest/gtest.h>

#include "simulator/TrafficLog.h"
#include "tests/simulator/SimTestSupport.h"

namespace qd3::sim::test {
namespace {

struct LogCase {
  Direction direction;
  const char* message;
  const char* described;
};

void PrintTo(const LogCase& c, std::ostream* os) {
  *os << c.message;
}

class Describe : public ::testing::TestWithParam<LogCase> {};

TEST_P(Describe, NamesTheCommandForItsDirection) {
  EXPECT_EQ(DescribeMessage(GetParam().direction, Hex(GetParam().message)), GetParam().described);
}

constexpr Direction kIn = Direction::kToPedal;
constexpr Direction kOut = Direction::kFromPedal;

INSTANTIATE_TEST_SUITE_P(
    Log, Describe,
    ::testing::Values(LogCase{kIn, "F0 00 3F 6B 03 55 0B 0F F7", "kCmdRequestBlock type 15"},
                      LogCase{kIn, "F0 00 3F 6B 03 50 0B 01 41 F7", "kCmdParamChange param 1 = 65"},
                      LogCase{kIn, "F0 00 3F 6B 03 23 0B 05 F7", "kCmdSelectPreset slot 5"},
                      LogCase{kIn, "F0 00 3F 6B 03 69 0B 01 48 F7", "kCmdRequestIr IR 200"},
                      LogCase{kIn, "F0 00 3F 6B 03 5F 0B F7", "kCmdEditorClosing"},
                      LogCase{kIn, "F0 00 3F 6B 03 56 0B 02 F7", "kCmdFactoryReset kind 2"},
                      LogCase{kIn, "F0 00 3F 6B 02 10 F7", "kLoaderEnter"},
                      LogCase{kIn, "F0 00 3F 6B 03 5F F7", "unrecognised"},
                      LogCase{kOut, "F0 00 3F 6B 03 5F F7", "kCmdAck"},
                      LogCase{kOut, "F0 00 3F 6B 03 7D F7", "kCmdWriteAck"},
                      LogCase{kOut, "F0 00 3F 6B 03 73 F7", "kCmdWriteNext"},
                      LogCase{kOut, "F0 00 3F 6B 03 51 0B 05 63 F7", "kCmdParamEcho param 5 = 99"},
                      LogCase{kOut, "F0 00 3F 6B 02 15 F7", "kLoaderFailed"},
                      LogCase{kOut, "F0 00 3F 6B 03 55 0B 0F F7", "unrecognised"},
                      LogCase{kOut, "F0 7E 7F 06 01 F7", "unrecognised"}));

TEST(TrafficLog, LineHasDirectionNameLengthHexAndNote) {
  EXPECT_EQ(FormatTraffic(kIn, Hex("F0 00 3F 6B 03 55 0B 0F F7")),
            "E->D kCmdRequestBlock type 15 (9): F0 00 3F 6B 03 55 0B 0F F7");
  EXPECT_EQ(FormatTraffic(kOut, Hex("F0 00 3F 6B 03 5F F7"), "dropped"),
            "D->E kCmdAck (7): F0 00 3F 6B 03 5F F7 [dropped]");
  EXPECT_EQ(HexBytes(Hex("00 0a FF")), "00 0A FF");
  EXPECT_EQ(HexBytes({}), "");
}

TEST_F(PedalTest, ModelLogsEachMessageInAndOut) {
  Send("F0 00 3F 6B 03 50 0B 39 00 F7");
  Send("F0 00 3F 6B 03 50 0B 11 05 F7");
  EXPECT_EQ(mLog,
            "E->D kCmdParamChange param 57 = 0 (10): F0 00 3F 6B 03 50 0B 39 00 F7\n"
            "D->E kCmdAck (7): F0 00 3F 6B 03 5F F7\n"
            "E->D kCmdParamChange param 17 = 5 (10): F0 00 3F 6B 03 50 0B 11 05 F7 "
            "[ignored: unused parameter number]\n");
}

}  // namespace
}  // namespace qd3::sim::test
