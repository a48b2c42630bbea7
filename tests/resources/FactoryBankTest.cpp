// The factory preset bank as the program carries it (resource 103).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "params/ParamCatalogue.h"
#include "params/SoundTemplates.h"
#include "presets/PresetRecord.h"
#include "protocol/Checksum14.h"
#include "resources/factory_bank/FactoryBank.h"
#include "resources/factory_bank/FactoryBankBuilder.h"
#include "resources/factory_bank/FactorySounds.h"
#include "toolkit/api/EmbeddedResources.h"

namespace qd3 {
namespace {

using factory_bank::kFactoryBankIrUses;

constexpr std::size_t kMessageSize = kRecordMessageSize;
constexpr std::size_t kRecordOffsetInMessage = 8;

std::span<const uint8_t> Message(int k) {
  return FactoryBankMessages().subspan(static_cast<std::size_t>(k) * kMessageSize, kMessageSize);
}

PresetRecord RecordOf(int k) {
  return PresetRecord::FromPrefix(Message(k).subspan(kRecordOffsetInMessage));
}

std::string Trimmed(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

TEST(FactoryBankTest, Is128WriteFactoryPresetMessagesInSlotOrderWithGoodChecksums) {
  ASSERT_EQ(FactoryBankMessages().size(), 34176u);
  const std::vector<uint8_t> head = {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x7C, 0x0B};
  for (int k = 0; k < 128; ++k) {
    const auto m = Message(k);
    EXPECT_TRUE(std::equal(head.begin(), head.end(), m.begin())) << k;
    EXPECT_EQ(m[7], k);
    EXPECT_EQ(m[266], 0xF7) << k;
    EXPECT_TRUE(VerifyRecordChecksum(m)) << k;
    EXPECT_TRUE(std::all_of(m.begin() + 1, m.end() - 1, [](uint8_t b) { return b < 0x80; })) << k;
  }
  // The update counts its messages by 0xF7 bytes and rewrites the version after each 0xF0.
  const auto all = FactoryBankMessages();
  EXPECT_EQ(std::count(all.begin(), all.end(), 0xF7), 128);
  EXPECT_EQ(std::count(all.begin(), all.end(), 0xF0), 128);
}

TEST(FactoryBankTest, Resource103IsTheBankTheBuilderMakes) {
  const EmbeddedResource* r = FindEmbeddedResourceById(kFactoryBankResourceId);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->name, "factory-bank.syx");
  EXPECT_TRUE(std::ranges::equal(r->bytes, FactoryBankMessages()));
  const factory_bank::FactoryBank again = factory_bank::BuildFactoryBank();
  EXPECT_TRUE(again.problems.empty());
  EXPECT_TRUE(std::ranges::equal(again.messages, FactoryBankMessages()));
}

TEST(FactoryBankTest, RecordsAreFormat10WithEveryParameterInItsRange) {
  const ParamCatalogue catalogue;
  for (int k = 0; k < 128; ++k) {
    const PresetRecord r = RecordOf(k);
    EXPECT_EQ(r.FormatMajor(), 1);
    EXPECT_EQ(r.FormatMinor(), 0);
    for (int i = 0; i < kRecordParamCount; ++i) {
      const ParamSpec& range = catalogue[i].Info();
      EXPECT_GE(r.Param(i), range.min) << "slot " << k << " param " << i;
      EXPECT_LE(r.Param(i), range.max) << "slot " << k << " param " << i;
    }
    const auto& b = r.Bytes();
    EXPECT_TRUE(std::all_of(b.begin() + kUnusedOffset, b.begin() + kUserIrName7Offset,
                            [](uint8_t v) { return v == 0; }));
    EXPECT_TRUE(std::all_of(b.begin() + kUserIrName7Offset, b.begin() + kUserIrName8Offset,
                            [](uint8_t v) { return v == ' '; }));
    EXPECT_EQ(r.Param(kParamIrModeA), 0) << k;
  }
}

TEST(FactoryBankTest, NamesArePrintableNonEmptyAndUnique) {
  std::set<std::string> seen;
  for (int k = 0; k < 128; ++k) {
    const std::string name = RecordOf(k).NameAsStored();
    EXPECT_TRUE(
        std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c < 0x7F; }));
    EXPECT_NE(name[0], ' ') << k;
    EXPECT_TRUE(seen.insert(Trimmed(name)).second) << "duplicate " << name;
  }
}

TEST(FactoryBankTest, Slots3To5PlayFactoryBankIrs256To258InPosition8) {
  for (int k = 0; k < 128; ++k) {
    const PresetRecord r = RecordOf(k);
    const auto use = std::find_if(kFactoryBankIrUses.begin(), kFactoryBankIrUses.end(),
                                  [&](const auto& u) { return u.slot == k; });
    const auto name8 = r.UserIrNameField(UserIrPosition::kPosition8);
    if (use == kFactoryBankIrUses.end()) {
      EXPECT_EQ(r.Param(kParamIrModeB), 0) << k;
      EXPECT_TRUE(std::all_of(name8.begin(), name8.end(), [](uint8_t v) { return v == 0; })) << k;
      continue;
    }
    EXPECT_EQ(r.Param(kParamIrModeB), 1);
    EXPECT_EQ(r.UserIrNumber(UserIrPosition::kPosition8), 256 + (k - 3));
    EXPECT_EQ(r.Param(kParamIr), 127);  // position 8, no crossfade
    EXPECT_EQ(r.TrimmedUserIrName(UserIrPosition::kPosition8), use->irName);
    EXPECT_TRUE(std::all_of(name8.begin() + static_cast<std::ptrdiff_t>(use->irName.size()),
                            name8.end(), [](uint8_t v) { return v == ' '; }));
  }
  EXPECT_EQ(kFactoryBankIrUses[0].slot, 3);
  EXPECT_EQ(kFactoryBankIrUses[2].slot, 5);
}

// A cabinet selector between two positions would crossfade two cabinets.
TEST(FactoryBankTest, EveryPresetSelectsOneWholeCabinetPosition) {
  for (int k = 0; k < 128; ++k) {
    const int a = RecordOf(k).Param(kParamIr);
    const int p = static_cast<int>(std::floor(static_cast<float>(a) / 127.0f * 80.0f));
    EXPECT_EQ(p % 10, 0) << k;
    EXPECT_GE(p, 10) << k;  // not the flat response
  }
}

// The drive and ambience buttons must light for the voicing each preset was built from:
// the editor's own template match, on the editor's own table, finds it.
TEST(FactoryBankTest, EveryPresetMatchesTheVoicingsItWasBuiltFrom) {
  using namespace factory_bank;
  for (int k = 0; k < 128; ++k) {
    const PresetRecord r = RecordOf(k);
    const BaseSound& sound = BaseSounds()[static_cast<std::size_t>(k % kBaseSoundCount)];
    const AmbienceTemplateId ambience = sound.ambiences[static_cast<std::size_t>(k / 32)];
    std::array<int, kNumSoundParams> values{};
    for (int i = 0; i < kNumSoundParams; ++i) values[static_cast<std::size_t>(i)] = r.Param(i);
    const TemplateMatch match = MatchTemplates(values);
    EXPECT_EQ(match.drive, sound.drive) << k;
    EXPECT_EQ(match.ambience, ambience) << k;

    // Every field of both templates is in the record, "Dynamics" raised to 64 at least.
    const auto& drive = kDriveTemplates[static_cast<std::size_t>(sound.drive)].values;
    for (int f = 0; f < kNumDriveFields; ++f) {
      if (f == kDriveGain) continue;  // the sound's own gain replaces it
      const int want = f == kDriveDynamics ? std::max(drive[f], 64) : drive[f];
      EXPECT_EQ(r.Param(kDriveFieldParam[f]), want) << "slot " << k << " drive field " << f;
    }
    const auto& amb = kAmbienceTemplates[static_cast<std::size_t>(ambience)].values;
    for (int f = 0; f < kNumAmbienceFields; ++f) {
      EXPECT_EQ(r.Param(kAmbienceFieldParam[f]), amb[f]) << "slot " << k << " ambience field " << f;
    }
  }
}

}  // namespace
}  // namespace qd3
