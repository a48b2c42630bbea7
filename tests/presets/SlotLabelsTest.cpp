#include <gtest/gtest.h>

#include <string>

#include "presets/SlotLabels.h"

namespace qd3 {
namespace {

PresetRecord Named(const std::string& name32) {
  PresetRecord record;
  std::copy(name32.begin(), name32.end(), record.NameField().begin());
  return record;
}

struct NumberCase {
  int slot;
  int offset;
  const char* number;
  const char* emptyLabel;
};

TEST(SlotLabels, NumbersUseAtLeastTwoDigitsOfSlotPlusOffset) {
  const NumberCase cases[] = {
      {0, 1, "01", " 01 "},     {127, 1, "128", " 128 "}, {0, 0, "00", " 00 "},
      {9, 0, "09", " 09 "},     {99, 0, "99", " 99 "},    {99, 1, "100", " 100 "},
      {127, 0, "127", " 127 "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SlotNumberText(c.slot, c.offset), c.number) << c.slot << "+" << c.offset;
    EXPECT_EQ(EmptySlotLabel(c.slot, c.offset), c.emptyLabel) << c.slot << "+" << c.offset;
  }
}

TEST(SlotLabels, CachedLabelKeepsTrailingSpaces) {
  const std::string name = "Lead" + std::string(28, ' ');
  EXPECT_EQ(CachedSlotLabel(0, 1, Named(name)), " 01 " + name);
  EXPECT_EQ(CachedSlotLabel(127, 1, Named(name)), " 128 " + name);
}

TEST(SlotLabels, NulByteEndsTheName) {
  std::string name = "Lead" + std::string(28, 'x');
  name[4] = '\0';
  EXPECT_EQ(CachedSlotLabel(4, 0, Named(name)), " 04 Lead");
  EXPECT_EQ(CurrentPresetLabel(4, 0, Named(name)), " 04 Lead");
  EXPECT_EQ(CachedSlotLabel(4, 0, PresetRecord{}), " 04 ");
}

TEST(SlotLabels, CurrentPresetLabelIsCutTo40Characters) {
  const std::string longName(50, 'n');
  const std::string label = CurrentPresetLabel(0, 1, longName);
  EXPECT_EQ(label.size(), 40u);
  EXPECT_EQ(label, " 01 " + std::string(36, 'n'));
  EXPECT_EQ(CurrentPresetLabel(127, 1, longName), " 128 " + std::string(35, 'n'));
  // A full 32-character name fits: 5 + 32 characters at most.
  const std::string padded = "Solo" + std::string(28, ' ');
  EXPECT_EQ(CurrentPresetLabel(127, 1, Named(padded)), " 128 " + padded);
  EXPECT_EQ(CurrentPresetLabel(5, 0, "Solo"), " 05 Solo");
}

TEST(SlotLabels, RowKinds) {
  EXPECT_EQ(RowKindOf(true), PresetRowKind::kCurrent);
  EXPECT_EQ(RowKindOf(false), PresetRowKind::kOther);
}

TEST(SlotLabels, ScrollBringsTheSlotIntoView) {
  const std::pair<int, int> cases[] = {{120, 0}, {5, 104}, {0, 109}, {109, 0}, {108, 1}};
  for (const auto& [slot, scroll] : cases) EXPECT_EQ(ListScrollForSlot(slot), scroll) << slot;
}

}  // namespace
}  // namespace qd3
