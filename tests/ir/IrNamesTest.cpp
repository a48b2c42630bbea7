// IR numbering, the cabinet position names, the user IR names and the user-IR list filled
// by the pedal's name groups.

#include <gtest/gtest.h>

#include "ir/IrImage.h"
#include "ir/IrNames.h"
#include "protocol/DeviceReplies.h"
#include "protocol/MessageBuilders.h"
#include "protocol/Name32.h"
#include "simulator/PedalModel.h"
#include "tests/support/TempFolder.h"

namespace qd3::test {
namespace {

IrImageBytes NamedImage(std::string_view name) {
  std::array<uint8_t, kNameSize> field{};
  WriteName32(name, field);
  return MakeIrImage(IrWorkingBuffer{}, field).image;
}

TEST(IrNumbers, BanksSlotsHalvesAndPositions) {
  EXPECT_EQ(IrNumberHigh(300), 2);
  EXPECT_EQ(IrNumberLow(300), 44);
  EXPECT_EQ(IrNumberFromHalves(2, 44), 300);
  EXPECT_EQ(UserIrOfPositionA(5), 5);
  EXPECT_EQ(UserIrOfPositionB(5), 133);
  EXPECT_EQ(IrBankName(IrBankOf(0)), "Custom Bank 1");
  EXPECT_EQ(IrBankName(IrBankOf(255)), "Custom Bank 8");
  EXPECT_EQ(IrBankName(IrBankOf(287)), "Factory Bank");
  EXPECT_EQ(IrBankOf(384), -1);
  EXPECT_TRUE(IsWavTarget(255));
  EXPECT_FALSE(IsWavTarget(256)) << "the factory bank is read-only";
  EXPECT_FALSE(IsWavTarget(287));
  EXPECT_TRUE(IsWavTarget(391));
  EXPECT_FALSE(IsWavTarget(392));
  EXPECT_EQ(CabinetIrOfPosition(1), 384);
  EXPECT_EQ(CabinetIrOfPosition(8), 391);
  // The picker's stored values 1, 16, 32 .. 127 land on positions 0..8.
  const int picker[] = {1, 16, 32, 48, 64, 80, 96, 112, 127};
  for (int p = 0; p < 9; ++p) EXPECT_EQ(CabinetPositionOf(picker[p]), p) << picker[p];
  EXPECT_FALSE(IsBeyondPositionSix(95));
  EXPECT_TRUE(IsBeyondPositionSix(96));
}

TEST(IrNames, CabinetPositionsTakeTheFactoryCacheNames) {
  TempFolder folder;
  PresetCache cache(folder.Path());
  CabinetPositionNames names;
  names.LoadFromCache(cache);
  for (int k = 0; k < kCabinetPositionCount; ++k)
    EXPECT_EQ(names.Name(k), kInitialPositionNames[k]);

  ASSERT_TRUE(Succeeded(cache.WriteIrImage(CabinetIrOfPosition(2), NamedImage("Blonde Mod  "))));
  EXPECT_EQ(names.Name(2), "BLONDE 2x12") << "only read at start-up or after a write";
  names.ReloadPosition(cache, 2);
  EXPECT_EQ(names.Name(2), "Blonde Mod");

  ASSERT_TRUE(Succeeded(cache.WriteIrImage(CabinetIrOfPosition(8), NamedImage("Bout"))));
  CabinetPositionNames fresh;
  fresh.LoadFromCache(cache);
  EXPECT_EQ(fresh.Name(2), "Blonde Mod");
  EXPECT_EQ(fresh.Name(8), "Bout");
  EXPECT_EQ(fresh.Name(7), "BRIT 2x12");
  EXPECT_EQ(fresh.Name(9), "");
}

TEST(IrNames, UserIrNamesComeFromTheCacheOrAreEmptySlots) {
  TempFolder folder;
  PresetCache cache(folder.Path());
  ASSERT_TRUE(Succeeded(cache.WriteIrImage(5, NamedImage("My Cab"))));
  ASSERT_TRUE(Succeeded(cache.WriteIrImage(287, NamedImage("Factory Twelve"))));
  UserIrNames names;
  names.LoadFromCache(cache);
  EXPECT_EQ(names.Name(5), "My Cab");
  EXPECT_EQ(names.Name(133), "Empty Slot 6");
  EXPECT_EQ(names.Name(0), "Empty Slot 1");
  EXPECT_EQ(names.Name(287), "Factory Twelve");
  EXPECT_EQ(names.Name(286), "Empty Slot 31");

  names.Set(kUserIrNamePositionA, "From the preset, a name longer than 32");
  EXPECT_EQ(names.Name(288), "From the preset, a name longer t");
  ASSERT_TRUE(Succeeded(cache.WriteIrImage(133, NamedImage("Second"))));
  names.Reload(cache, 133);
  EXPECT_EQ(names.Name(133), "Second");
  names.Reload(cache, 288);  // not a cached entry: ignored
  EXPECT_EQ(names.Name(288), "From the preset, a name longer t");
}

TEST(IrNames, NameGroupsWalkThroughTheFourGroupsOfABank) {
  sim::PedalModel pedal;
  IrListRows rows;
  EXPECT_EQ(rows.Row(0), "Empty Slot 1");
  EXPECT_EQ(rows.Row(31), "Empty Slot 32");

  std::optional<Bytes> request = BuildRequestIrNames(0);
  std::vector<int> groups;
  while (request) {
    const sim::Replies replies = pedal.Receive(*request);
    ASSERT_EQ(replies.size(), 1u);
    const auto update = ReadIrNames(replies[0]);
    ASSERT_TRUE(update);
    groups.push_back(update->group);
    rows.Apply(*update);
    request = update->nextRequest;
    ASSERT_LE(groups.size(), 4u);
  }
  EXPECT_EQ(groups, (std::vector<int>{0, 1, 2, 3}));
  for (int row = 0; row < 32; ++row) {
    const auto field = sim::IrName(pedal.State().userIrs[static_cast<std::size_t>(row)]);
    const std::string expected = IsBlankName32(field) ? EmptySlotName(row + 1) : TrimName32(field);
    EXPECT_EQ(rows.Row(row), expected) << row;
  }
}

TEST(IrNames, GroupSevenFillsRows24To31AndRequestsNothing) {
  std::vector<std::string> names(8);
  names[0] = "Alpha";
  const auto update = ReadIrNames(BuildIrNames(7, names));
  ASSERT_TRUE(update);
  EXPECT_EQ(update->rows[0].row, 24);
  EXPECT_EQ(update->rows[0].text, "Alpha");
  EXPECT_EQ(update->rows[7].row, 31);
  EXPECT_EQ(update->rows[7].text, "Empty Slot 32");
  EXPECT_FALSE(update->nextRequest);
  EXPECT_FALSE(ReadIrNames(BuildIrNames(3, names))->nextRequest);
  EXPECT_EQ(*ReadIrNames(BuildIrNames(4, names))->nextRequest, BuildRequestIrNames(5));
}

TEST(IrNames, BadNameGroupsAreDropped) {
  const std::vector<std::string> names(8, "Name");
  Bytes badSum = BuildIrNames(1, names);
  badSum[kChecksumLoOffset] ^= 1;
  Bytes noVersion = BuildIrNames(1, names);
  noVersion[kVersionOffset] = 0x0A;
  Bytes shortMessage = BuildIrNames(1, names);
  shortMessage.pop_back();
  EXPECT_FALSE(ReadIrNames(badSum));
  EXPECT_FALSE(ReadIrNames(noVersion));
  EXPECT_FALSE(ReadIrNames(shortMessage));
  EXPECT_FALSE(ReadIrNames(BuildPresetDump(1, Bytes(256, 0))));
}

}  // namespace
}  // namespace qd3::test
