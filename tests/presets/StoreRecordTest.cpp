#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "presets/StoreRecord.h"
#include "protocol/Checksum14.h"

namespace qd3 {
namespace {

using Live = std::array<int, kRecordParamCount>;

Live SomeLiveValues() {
  Live live{};
  for (int i = 0; i < kRecordParamCount; ++i) live[static_cast<std::size_t>(i)] = (i * 7) % 128;
  live[40] = 0;
  live[41] = 0;
  return live;
}

std::string Slice(const PresetRecord& record, std::size_t from, std::size_t count) {
  return std::string(record.Bytes().begin() + static_cast<std::ptrdiff_t>(from),
                     record.Bytes().begin() + static_cast<std::ptrdiff_t>(from + count));
}

const std::string kSpaces32(32, ' ');
const std::string kForty = "0123456789abcdefghijklmnopqrstuvwxyzABCD";

TEST(StoreRecord, WholeRecordByteExact) {
  Live live = SomeLiveValues();
  live[40] = 1;
  const PresetRecord record = BuildStoreRecord("Crunch", live, "My Cab", "Other Cab");

  std::vector<uint8_t> expected(256, 0);
  expected[0] = 1;
  expected[1] = 0;
  const std::string name = "Crunch" + std::string(26, ' ');
  std::copy(name.begin(), name.end(), expected.begin() + 2);
  for (int i = 0; i < 65; ++i)
    expected[34 + static_cast<std::size_t>(i)] = live[static_cast<std::size_t>(i)] & 0xFF;
  const std::string ir7 = "My Cab" + std::string(26, ' ');
  std::copy(ir7.begin(), ir7.end(), expected.begin() + 192);
  std::copy(kSpaces32.begin(), kSpaces32.end(), expected.begin() + 224);

  EXPECT_EQ(std::vector<uint8_t>(record.Bytes().begin(), record.Bytes().end()), expected);
}

struct NameCase {
  std::string entered;
  std::string stored;
};

TEST(StoreRecord, NameTakesTheFirst32CharactersOfTheEntry) {
  const NameCase cases[] = {
      {"", kSpaces32},                               // empty entry stores 32 spaces
      {"Clean", "Clean" + std::string(27, ' ')},     //
      {kForty.substr(0, 32), kForty.substr(0, 32)},  // exactly 32
      {kForty, kForty.substr(0, 32)},                // 40 characters: the first 32
      {"  padded  ", "  padded  " + std::string(22, ' ')},
  };
  const Live live = SomeLiveValues();
  for (const auto& c : cases) {
    const PresetRecord record = BuildStoreRecord(c.entered, live, "", "");
    EXPECT_EQ(Slice(record, 2, 32), c.stored) << '"' << c.entered << '"';
    EXPECT_EQ(record.Bytes()[34], live[0]) << "name spilled into the parameters";
  }
}

struct IrNameCase {
  int mode7;
  int mode8;
  std::string label7;
  std::string label8;
  std::string stored7;
  std::string stored8;
};

TEST(StoreRecord, UserIrNamesFollowTheIrModes) {
  const IrNameCase cases[] = {
      // Both modes zero: 64 spaces whatever the labels say.
      {0, 0, "TOLVANE", "BRIT 2x12", kSpaces32, kSpaces32},
      {1, 0, "My Cab", "BRIT 2x12", "My Cab" + std::string(26, ' '), kSpaces32},
      {0, 1, "TOLVANE", "Their Cab", kSpaces32, "Their Cab" + std::string(23, ' ')},
      {3, 1, kForty, kForty, kForty.substr(0, 32), kForty.substr(0, 32)},
      {1, 1, "", "", kSpaces32, kSpaces32},
  };
  for (const auto& c : cases) {
    Live live = SomeLiveValues();
    live[40] = c.mode7;
    live[41] = c.mode8;
    const PresetRecord record = BuildStoreRecord("Name", live, c.label7, c.label8);
    EXPECT_EQ(Slice(record, 192, 32), c.stored7) << c.mode7 << "/" << c.mode8;
    EXPECT_EQ(Slice(record, 224, 32), c.stored8) << c.mode7 << "/" << c.mode8;
  }
}

TEST(StoreRecord, ParameterBytesAreLowBytesAndUnusedBytesStayZero) {
  Live live{};
  live.fill(127);
  live[3] = 300;  // 0x12C: low byte 0x2C
  live[64] = 5;
  const PresetRecord record = BuildStoreRecord("", live, "", "");
  EXPECT_EQ(record.Bytes()[37], 0x2C);
  EXPECT_EQ(record.Bytes()[98], 5);
  EXPECT_EQ(record.Bytes()[34], 127);
  for (std::size_t i = 99; i < 192; ++i) EXPECT_EQ(record.Bytes()[i], 0) << i;
}

TEST(StoreRecord, MessageCarriesSlotRecordAndChecksum) {
  const PresetRecord record = BuildStoreRecord("Crunch", SomeLiveValues(), "", "");
  const Bytes message = BuildStorePresetMessage(17, record);
  ASSERT_EQ(message.size(), 267u);
  EXPECT_EQ(message[0], 0xF0);
  EXPECT_EQ(message[5], 0x20);
  EXPECT_EQ(message[7], 17);
  EXPECT_TRUE(std::equal(record.Bytes().begin(), record.Bytes().end(), message.begin() + 8));
  const Checksum14Pair sum = record.Checksum();
  EXPECT_EQ(message[264], sum.hi);
  EXPECT_EQ(message[265], sum.lo);
  EXPECT_EQ(message[266], 0xF7);
}

}  // namespace
}  // namespace qd3
