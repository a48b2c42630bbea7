#include <gtest/gtest.h>

#include <map>

#include "protocol/Checksum14.h"
#include "protocol/DeviceMessages.h"
#include "settings/GlobalSettingsBlock.h"

namespace qd3 {
namespace {

// Every parameter of the block with a value of its own, so a byte in the wrong place
// shows.
std::map<int, int> DistinctValues() {
  return {{80, 1},  {81, 1}, {82, 1}, {83, 1},  {84, 9},  {85, 0},  {86, 1},
          {87, 17}, {88, 1}, {89, 2}, {33, 51}, {34, 52}, {35, 53}, {90, 1}};
}

RawValueOf From(const std::map<int, int>& values) {
  return [&values](int param) { return values.at(param); };
}

TEST(GlobalSettingsBlock, EveryParameterTravelsInItsOwnByte) {
  const auto values = DistinctValues();
  const auto data = EncodeGlobalSettings(37, From(values));
  struct Expect {
    size_t byte;
    int value;
  };
  const Expect expected[] = {{0, 37},  {1, 1},   {2, 1},  {3, 1},  {4, 1},  {5, 9},
                             {6, 0},   {7, 1},   {8, 17}, {9, 1},  {10, 2}, {11, 51},
                             {12, 52}, {13, 53}, {14, 0}, {15, 0}, {16, 1}};
  for (const Expect& e : expected) EXPECT_EQ(data[e.byte], e.value) << "d" << e.byte;
  for (size_t i = 17; i < data.size(); ++i) EXPECT_EQ(data[i], 0) << "d" << i;
}

TEST(GlobalSettingsBlock, EditPotDisplayModeIsSentAsTwoWhenNumerical) {
  auto values = DistinctValues();
  values[85] = 1;
  EXPECT_EQ(EncodeGlobalSettings(0, From(values))[6], 2);
  values[85] = 0;
  EXPECT_EQ(EncodeGlobalSettings(0, From(values))[6], 0);
}

TEST(GlobalSettingsBlock, TunerAt440HzIsTwelveInD8) {
  auto values = DistinctValues();
  values[87] = 12;  // 428 + 12 = 440 Hz
  EXPECT_EQ(EncodeGlobalSettings(0, From(values))[8], 12);
}

TEST(GlobalSettingsBlock, MessageIsADataBlockOfTypeZeroWithItsChecksum) {
  const auto values = DistinctValues();
  const Bytes m = BuildGlobalSettingsBlock(5, From(values));
  ASSERT_EQ(m.size(), 267u);
  EXPECT_EQ(m[kCommandOffset], kCmdDataBlock);
  EXPECT_EQ(m[kSelectorOffset], kBlockGlobalSettings);
  EXPECT_EQ(m[kRecordOffset], 5);
  EXPECT_TRUE(VerifyRecordChecksum(m));
}

TEST(GlobalSettingsBlock, ReceivedEditPotDisplayAboveZeroReadsAsOne) {
  for (uint8_t wire : {1, 2, 127}) {
    std::array<uint8_t, kRecordSize> data{};
    data[6] = wire;
    const auto received = DecodeGlobalSettings(data);
    for (const auto& v : received.values) {
      if (v.param == 85) {
        EXPECT_EQ(v.raw, 1) << "wire " << int{wire};
      }
    }
  }
}

TEST(GlobalSettingsBlock, DecodingReadsBackWhatWasEncoded) {
  auto values = DistinctValues();
  values[85] = 1;
  const auto received = DecodeGlobalSettings(EncodeGlobalSettings(99, From(values)));
  EXPECT_EQ(received.currentPreset, 99);
  for (const auto& v : received.values) EXPECT_EQ(v.raw, values.at(v.param)) << v.param;
}

TEST(GlobalSettingsBlock, BytesOutsideTheLayoutAreIgnoredOnReceipt) {
  std::array<uint8_t, kRecordSize> data{};
  data[14] = 0x55;
  data[15] = 0x55;
  data[200] = 0x55;
  for (const auto& v : DecodeGlobalSettings(data).values) EXPECT_EQ(v.raw, 0) << v.param;
}

}  // namespace
}  // namespace qd3
