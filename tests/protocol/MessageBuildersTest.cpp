#include "protocol/MessageBuilders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TestBytes.h"

namespace qd3 {
namespace {

using test::Hex;
using test::Join;
using test::Ramp;
using test::Repeat;

struct Vector {
  std::string name;
  Bytes built;
  Bytes expected;
};

void ExpectVectors(const std::vector<Vector>& vectors) {
  for (const Vector& v : vectors) {
    SCOPED_TRACE(v.name);
    EXPECT_EQ(v.built.size(), v.expected.size());
    EXPECT_EQ(v.built, v.expected);
  }
}

TEST(MessageBuilders, ShortMessages) {
  ExpectVectors({
      {"select preset 127", BuildSelectPreset(127), Hex("F0 00 3F 6B 03 23 0B 7F F7")},
      {"request preset 5", BuildRequestPreset(5), Hex("F0 00 3F 6B 03 40 0B 05 F7")},
      {"param change Gain 65", BuildParamChange(1, 65), Hex("F0 00 3F 6B 03 50 0B 01 41 F7")},
      {"store to slot via param 18", BuildParamChange(18, 127),
       Hex("F0 00 3F 6B 03 50 0B 12 7F F7")},
      {"request global settings", BuildRequestBlock(kBlockGlobalSettings),
       Hex("F0 00 3F 6B 03 55 0B 00 F7")},
      {"request checksums", BuildRequestBlock(kBlockPresetChecksums),
       Hex("F0 00 3F 6B 03 55 0B 03 F7")},
      {"request device info", BuildRequestBlock(kBlockDeviceInfo),
       Hex("F0 00 3F 6B 03 55 0B 0F F7")},
      {"reset all", BuildFactoryReset(kFactoryResetAll), Hex("F0 00 3F 6B 03 56 0B 00 F7")},
      {"reset presets", BuildFactoryReset(kFactoryResetPresets), Hex("F0 00 3F 6B 03 56 0B 01 F7")},
      {"reset settings", BuildFactoryReset(kFactoryResetSettings),
       Hex("F0 00 3F 6B 03 56 0B 02 F7")},
      {"bulk begin", BuildBulkBegin(), Hex("F0 00 3F 6B 03 5A 0B F7")},
      {"bulk end", BuildBulkEnd(), Hex("F0 00 3F 6B 03 5B 0B F7")},
      {"editor closing", BuildEditorClosing(), Hex("F0 00 3F 6B 03 5F 0B F7")},
      {"request IR 200", BuildRequestIr(200), Hex("F0 00 3F 6B 03 69 0B 01 48 F7")},
      {"request IR 391", BuildRequestIr(391), Hex("F0 00 3F 6B 03 69 0B 03 07 F7")},
      {"request IR names 33", BuildRequestIrNames(33), Hex("F0 00 3F 6B 03 6A 0B 21 F7")},
      {"loader enter", BuildLoaderEnter(), Hex("F0 00 3F 6B 02 10 F7")},
  });
}

TEST(MessageBuilders, RecordMessages) {
  // Record 01, 254 x 10, 7F: sum 4192 = 32 * 128 + 96.
  const Bytes record = Join({Hex("01"), Repeat(254, 0x10), Hex("7F")});
  const Bytes tail = Hex("20 60 F7");
  ExpectVectors({
      {"store preset 5", BuildStorePreset(5, record),
       Join({Hex("F0 00 3F 6B 03 20 0B 05"), record, tail})},
      {"write factory preset 127", BuildWriteFactoryPreset(127, record),
       Join({Hex("F0 00 3F 6B 03 7C 0B 7F"), record, tail})},
      {"restore preset 0", BuildRestorePreset(0, record),
       Join({Hex("F0 00 3F 6B 03 7F 0B 00"), record, tail})},
      {"program map block", BuildDataBlock(kBlockProgramMap, record),
       Join({Hex("F0 00 3F 6B 03 52 0B 02"), record, tail})},
  });
}

TEST(MessageBuilders, DataBytesAboveSevenBitsCannotEndTheMessage) {
  // 0xF7 inside the payload would end the SysEx message early; it goes out as 0x77.
  const Bytes record = Join({Hex("F7 81"), Repeat(254, 0x00)});
  const Bytes message = BuildStorePreset(0, record);
  EXPECT_EQ(message,
            Join({Hex("F0 00 3F 6B 03 20 0B 00 77 01"), Repeat(254, 0x00), Hex("00 78 F7")}));
}

TEST(MessageBuilders, IrChunks) {
  const Bytes groups = Ramp(256);
  ExpectVectors({
      // IR 200 = 01 48; G = 2785 = 00 15 61.
      {"IR begin", BuildIrBegin(200, 2785, groups),
       Join({Hex("F0 00 3F 6B 03 60 0B 01 48 00 15 61"), groups, Hex("F7")})},
      {"IR data", BuildIrData(groups), Join({Hex("F0 00 3F 6B 03 65 0B"), groups, Hex("F7")})},
      {"IR end, 3 groups", BuildIrEnd(Hex("01 02 03"), {0x12, 0x34}),
       Hex("F0 00 3F 6B 03 66 0B 01 02 03 12 34 F7")},
      {"IR end, no groups", BuildIrEnd({}, {0x00, 0x7F}), Hex("F0 00 3F 6B 03 66 0B 00 7F F7")},
  });
  EXPECT_EQ(BuildIrEnd(Ramp(225), {}).size(), 235u);
  EXPECT_EQ(BuildIrEnd(groups, {}).size(), 266u);
}

TEST(MessageBuilders, LoaderChunks) {
  const Bytes groups = Ramp(240);
  ExpectVectors({
      // G = 481 = 00 03 61.
      {"loader begin", BuildLoaderBegin(481, groups),
       Join({Hex("F0 00 3F 6B 02 13 00 03 61"), groups, Hex("F7")})},
      {"loader data", BuildLoaderData(groups), Join({Hex("F0 00 3F 6B 02 20"), groups, Hex("F7")})},
      {"loader last, 1 group", BuildLoaderLast(Hex("05"), {0x01, 0x02}),
       Hex("F0 00 3F 6B 02 20 05 01 02 F7")},
  });
  EXPECT_EQ(BuildLoaderLast(groups, {}).size(), 249u);
}

#ifdef NDEBUG
TEST(MessageBuilders, OutOfRangeArgumentsAreClampedInRelease) {
  EXPECT_EQ(BuildSelectPreset(128), Hex("F0 00 3F 6B 03 23 0B 7F F7"));
  EXPECT_EQ(BuildParamChange(-3, 300), Hex("F0 00 3F 6B 03 50 0B 00 7F F7"));
  EXPECT_EQ(BuildRequestIr(20000), Hex("F0 00 3F 6B 03 69 0B 7F 7F F7"));
  // A short record is zero-filled to its exact length.
  const Bytes message = BuildStorePreset(1, Hex("05"));
  EXPECT_EQ(message, Join({Hex("F0 00 3F 6B 03 20 0B 01 05"), Repeat(255, 0), Hex("00 05 F7")}));
  EXPECT_EQ(BuildIrEnd(Ramp(300), {}).size(), 266u);
}
#else
TEST(MessageBuildersDeathTest, OutOfRangeArgumentsAssertInDebug) {
  EXPECT_DEATH(BuildSelectPreset(128), "");
  EXPECT_DEATH(BuildStorePreset(1, Hex("05")), "");
  EXPECT_DEATH(BuildIrEnd(Ramp(257), {}), "");
}
#endif

}  // namespace
}  // namespace qd3
