// Preset slots, the current preset and its edit buffer.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <tuple>

#include "protocol/DeviceReplies.h"
#include "simulator/DefaultState.h"
#include "tests/simulator/SimTestSupport.h"

namespace qd3::sim::test {
namespace {

std::string NameOf(const Bytes& dump) {
  return std::string(dump.begin() + 10, dump.begin() + 42);
}

Bytes RequestPreset(int slot) {
  return {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x40, 0x0B, static_cast<uint8_t>(slot), 0xF7};
}
Bytes SelectPreset(int slot) {
  return {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x23, 0x0B, static_cast<uint8_t>(slot), 0xF7};
}
Bytes ParamChange(int number, int value) {
  return {0xF0,
          0x00,
          0x3F,
          0x6B,
          0x03,
          0x50,
          0x0B,
          static_cast<uint8_t>(number),
          static_cast<uint8_t>(value),
          0xF7};
}

TEST_F(PedalTest, DefaultPresetsAreDistinctNamedAndWithinRange) {
  std::set<std::string> names;
  std::set<Bytes> records;
  for (int slot = 0; slot < 128; ++slot) {
    const Replies replies = Send(RequestPreset(slot));
    ASSERT_EQ(replies.size(), 1u);
    ExpectRecordMessage(replies[0], 0x41, static_cast<uint8_t>(slot));
    const Bytes record = DataOf(replies[0]);
    EXPECT_EQ(record[0], 1);
    EXPECT_EQ(record[1], 0);
    char expected[40];
    std::snprintf(expected, sizeof expected, "Demo Preset %02d", slot + 1);
    EXPECT_EQ(NameOf(replies[0]),
              std::string(expected) + std::string(32 - std::strlen(expected), ' '));
    for (int i = 0; i < kSoundParamCount; ++i) {
      EXPECT_GE(record[34 + i], kSoundParams[i].min) << "slot " << slot << " param " << i;
      EXPECT_LE(record[34 + i], kSoundParams[i].max) << "slot " << slot << " param " << i;
    }
    EXPECT_TRUE(
        std::all_of(record.begin() + 99, record.begin() + 192, [](uint8_t b) { return b == 0; }));
    names.insert(NameOf(replies[0]));
    records.insert(record);
  }
  EXPECT_EQ(names.size(), 128u);
  EXPECT_EQ(records.size(), 128u);
}

TEST_F(PedalTest, PresetsUsingUserIrsNameThemAndTheOthersCarrySpaces) {
  for (int slot = 0; slot < 128; ++slot) {
    const Bytes record = DataOf(Send(RequestPreset(slot)).at(0));
    for (const auto& [modeIndex, nameOffset, high, low] :
         {std::tuple{40, 192, 53, 54}, std::tuple{41, 224, 55, 56}}) {
      const std::string name(record.begin() + nameOffset, record.begin() + nameOffset + 32);
      if (record[34 + modeIndex] == 0) {
        EXPECT_EQ(name, std::string(32, ' ')) << "slot " << slot;
        continue;
      }
      // The IR the preset uses exists on the pedal under that name.
      const int number = record[34 + high] * 128 + record[34 + low];
      const IrImage* image = FindIr(mPedal.State(), number);
      ASSERT_NE(image, nullptr) << "slot " << slot << " IR " << number;
      EXPECT_EQ(name, std::string(image->begin() + 4, image->begin() + 36)) << "slot " << slot;
      EXPECT_NE(name, std::string(32, ' '));
    }
  }
}

TEST_F(PedalTest, SelectMakesTheSlotCurrentAndSendsItsDump) {
  const Replies replies = Send(SelectPreset(37));
  ASSERT_EQ(replies.size(), 1u);
  ExpectRecordMessage(replies[0], 0x41, 37);
  EXPECT_EQ(mPedal.State().currentPreset, 37);
  EXPECT_EQ(DataOf(replies[0]),
            Bytes(mPedal.State().presets[37].begin(), mPedal.State().presets[37].end()));
  EXPECT_EQ(mPedal.State().editBuffer, mPedal.State().presets[37]);
  // The global-settings block now names it as current.
  EXPECT_EQ(DataOf(Send("F0 00 3F 6B 03 55 0B 00 F7").at(0)).at(0), 37);
}

TEST_F(PedalTest, RequestReportsTheStoredSlotNotTheEditBuffer) {
  Send(SelectPreset(3));
  Send(ParamChange(1, 99));
  const Bytes record = DataOf(Send(RequestPreset(3)).at(0));
  EXPECT_EQ(record[34 + 1], RecordParam(mPedal.State().presets[3], 1));
  EXPECT_NE(record[34 + 1], 99);
  EXPECT_EQ(mPedal.State().currentPreset, 3);
}

struct MappingCase {
  int deviceParam;
  int index;
};

void PrintTo(const MappingCase& c, std::ostream* os) {
  *os << "device " << c.deviceParam << " -> index " << c.index;
}

class DeviceNumbering : public PedalTest, public ::testing::WithParamInterface<MappingCase> {};

TEST_P(DeviceNumbering, EditLandsOnItsCatalogueIndex) {
  const auto [deviceParam, index] = GetParam();
  const int value = index == 19 ? 4 : (index >= 40 && index <= 41) || index == 60 ? 1 : 77;
  Record expected = mPedal.State().editBuffer;
  RecordParam(expected, index) = static_cast<uint8_t>(value);
  Send(ParamChange(deviceParam, value));
  EXPECT_EQ(mPedal.State().editBuffer, expected) << mLog;
}

INSTANTIATE_TEST_SUITE_P(Pedal, DeviceNumbering,
                         ::testing::Values(MappingCase{0, 0}, MappingCase{1, 1},
                                           MappingCase{15, 15}, MappingCase{16, 64},
                                           MappingCase{20, 16}, MappingCase{23, 19},
                                           MappingCase{24, 20}, MappingCase{44, 40},
                                           MappingCase{45, 41}, MappingCase{64, 60},
                                           MappingCase{67, 63}));

TEST_F(PedalTest, EditsAreLimitedToTheParameterRange) {
  Send(ParamChange(23, 127));  // reverb extension factor, 2..5
  Send(ParamChange(44, 9));    // IR mode, 0..1
  EXPECT_EQ(RecordParam(mPedal.State().editBuffer, 19), 5);
  EXPECT_EQ(RecordParam(mPedal.State().editBuffer, 40), 1);
}

TEST_F(PedalTest, StoreParameterWritesTheEditBufferAndAnswersWithTheSlotsDump) {
  Send(SelectPreset(10));
  Send(ParamChange(1, 123));
  const Replies replies = Send(ParamChange(18, 20));
  ASSERT_EQ(replies.size(), 1u);
  ExpectRecordMessage(replies[0], 0x41, 20);
  EXPECT_EQ(DataOf(replies[0])[34 + 1], 123);
  EXPECT_EQ(mPedal.State().presets[20], mPedal.State().editBuffer);
  EXPECT_EQ(mPedal.State().currentPreset, 20);
  // The stored slot's checksum shows in the checksum block.
  const Bytes sums = DataOf(Send("F0 00 3F 6B 03 55 0B 03 F7").at(0));
  EXPECT_EQ(sums[40], replies[0][264]);
  EXPECT_EQ(sums[41], replies[0][265]);
}

TEST_F(PedalTest, StorePresetMessageWritesTheSlotWithoutAnswer) {
  Record record = DefaultPresetRecord(90);
  RecordParam(record, 5) = 3;
  EXPECT_TRUE(Send(BuildStorePreset(0, record)).empty());
  EXPECT_EQ(mPedal.State().presets[0], record);
  // Slot 0 is current, so the edit buffer follows.
  EXPECT_EQ(mPedal.State().editBuffer, record);
  EXPECT_EQ(mPedal.Counters().handled, 1);
}

TEST_F(PedalTest, StorePresetWithBadChecksumOrRecordIsIgnored) {
  const Record before = mPedal.State().presets[4];
  Bytes bad = BuildStorePreset(4, DefaultPresetRecord(100));
  bad[265] ^= 1;
  Record wrongFormat = DefaultPresetRecord(100);
  wrongFormat[0] = 2;
  EXPECT_TRUE(Send(bad).empty());
  EXPECT_TRUE(Send(BuildStorePreset(4, wrongFormat)).empty());
  EXPECT_EQ(mPedal.State().presets[4], before);
  EXPECT_EQ(mPedal.Counters().ignored, 2);
}

TEST_F(PedalTest, PresetProtectionBlocksStoresButNotSelection) {
  mPedal.TurnKnob(88, 1);
  Send(SelectPreset(8));
  Send(ParamChange(1, 1));
  const Record before = mPedal.State().presets[8];
  EXPECT_TRUE(Send(ParamChange(18, 8)).empty());
  EXPECT_TRUE(Send(BuildStorePreset(8, DefaultPresetRecord(50))).empty());
  EXPECT_EQ(mPedal.State().presets[8], before);
  EXPECT_EQ(RecordParam(mPedal.State().editBuffer, 1), 1);
}

TEST_F(PedalTest, ChecksumBlockMatchesEveryDump) {
  const Replies sums = Send("F0 00 3F 6B 03 55 0B 03 F7");
  ASSERT_EQ(sums.size(), 1u);
  ExpectRecordMessage(sums[0], 0x52, 3);
  const Bytes data = DataOf(sums[0]);
  for (int slot = 0; slot < 128; ++slot) {
    const Bytes dump = Send(RequestPreset(slot)).at(0);
    EXPECT_EQ(data[2 * slot], dump[264]) << slot;
    EXPECT_EQ(data[2 * slot + 1], dump[265]) << slot;
  }
}

}  // namespace
}  // namespace qd3::sim::test
