#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "params/ParamCatalogue.h"
#include "params/SoundTemplates.h"

namespace qd3 {
namespace {

// Expected sets in application order, "index:raw", written out from the
// voicing tables independently of the editor's own table.
struct ExpectedTemplate {
  int k;
  int tag;
  const char* picture;
  const char* sets;
};

// clang-format off
const ExpectedTemplate kExpectedDrive[] = {
    {0, 82, "amp-blond.png", "1:65 11:58 5:26 64:32 69:88 10:88 2:29 44:64 3:17 45:10 4:112 46:64"},
    {1, 83, "amp-liverpool.png", "1:27 11:82 5:7 64:127 69:84 10:84 2:47 44:64 3:17 45:127 4:126 46:64"},
    {2, 84, "amp-british.png", "1:97 11:54 5:15 64:32 69:64 10:64 2:53 44:64 3:49 45:64 4:105 46:64"},
    {3, 85, "amp-caliclassic.png", "1:64 11:54 5:64 64:32 69:64 10:64 2:64 44:64 3:64 45:64 4:64 46:64"},
    {4, 86, "amp-boutiquea.png", "1:91 11:94 5:63 64:32 69:64 10:64 2:45 44:64 3:98 45:64 4:91 46:64"},
    {5, 87, "amp-tweed.png", "1:61 11:69 5:30 64:32 69:94 10:94 2:29 44:64 3:33 45:64 4:94 46:64"},
    {6, 88, "amp-topboost.png", "1:98 11:41 5:111 64:32 69:64 10:64 2:47 44:64 3:88 45:64 4:96 46:64"},
    {7, 89, "amp-plexi.png", "1:98 11:54 5:30 64:32 69:64 10:64 2:51 44:64 3:48 45:64 4:100 46:64"},
    {8, 90, "amp-calimetal.png", "1:91 11:54 5:64 64:32 69:64 10:64 2:45 44:64 3:64 45:64 4:91 46:64"},
    {9, 91, "amp-boutiqueb.png", "1:80 11:66 5:100 64:32 69:64 10:64 2:0 44:64 3:114 45:47 4:80 46:64"},
};
const ExpectedTemplate kExpectedAmbience[] = {
    {0, 75, "radio-room.png", "16:47 58:0 59:0 18:20 19:3 20:49 21:127 22:93 23:127 24:15"},
    {1, 76, "radio-hall.png", "16:64 58:4 59:127 18:8 19:2 20:64 21:127 22:64 23:64 24:20"},
    {2, 77, "radio-spring.png", "16:109 58:26 59:0 18:100 19:2 20:71 21:127 22:73 23:26 24:23"},
    {3, 78, "radio-plate.png", "16:86 58:4 59:127 18:120 19:2 20:127 21:127 22:45 23:127 24:42"},
    {4, 79, "radio-chorus.png", "16:74 58:67 59:60 18:84 19:4 20:52 21:0 22:0 23:127 24:0"},
    {5, 80, "radio-echo.png", "16:64 58:0 59:0 18:64 19:5 20:0 21:127 22:64 23:127 24:15"},
    {6, 81, "radio-echoverb.png", "16:64 58:0 59:0 18:70 19:5 20:0 21:127 22:32 23:127 24:10"},
};
// clang-format on

std::vector<std::pair<int, int>> ParseSets(const char* text) {
  std::vector<std::pair<int, int>> sets;
  std::istringstream in(text);
  std::string item;
  while (in >> item) {
    const auto colon = item.find(':');
    sets.emplace_back(std::stoi(item.substr(0, colon)), std::stoi(item.substr(colon + 1)));
  }
  return sets;
}

// Normalized form of a raw value on the catalogue range of the parameter:
// "Compression" 64..127, "Reverb Extension Factor" 2..5, the others 0..127.
double ExpectedNormalized(int index, int raw) {
  if (index == 69) return (raw - 64) / 63.0;
  if (index == 19) return (raw - 2) / 3.0;
  return raw / 127.0;
}

void ExpectSets(const std::vector<TemplateSet>& sets, const ExpectedTemplate& e) {
  const auto expected = ParseSets(e.sets);
  ASSERT_EQ(sets.size(), expected.size()) << e.picture;
  for (size_t i = 0; i < sets.size(); ++i) {
    SCOPED_TRACE(std::string(e.picture) + " set " + std::to_string(i));
    EXPECT_EQ(sets[i].index, expected[i].first);
    EXPECT_EQ(sets[i].raw, expected[i].second);
    EXPECT_NEAR(sets[i].normalized, ExpectedNormalized(expected[i].first, expected[i].second),
                1e-12);
    // Only "Dynamics" is set by the link of "Compression", right after it.
    EXPECT_EQ(sets[i].byLink, sets[i].index == 10);
    if (sets[i].byLink) {
      ASSERT_GT(i, 0u);
      EXPECT_EQ(sets[i - 1].index, 69);
      EXPECT_NEAR(sets[i].normalized, sets[i - 1].raw / 127.0, 1e-12);
    }
  }
}

// The factory presets name their voicings by these ids; each must be its button's row.
TEST(SoundTemplates, TemplateIdsNameTheRowsOfTheirPictures) {
  const std::vector<std::pair<int, std::string>> drive = {
      {kBlondTemplate, "amp-blond.png"},         {kLiverpoolTemplate, "amp-liverpool.png"},
      {kBritishTemplate, "amp-british.png"},     {kCaliClassicTemplate, "amp-caliclassic.png"},
      {kBoutiqueATemplate, "amp-boutiquea.png"}, {kTweedTemplate, "amp-tweed.png"},
      {kTopBoostTemplate, "amp-topboost.png"},   {kPlexiTemplate, "amp-plexi.png"},
      {kCaliMetalTemplate, "amp-calimetal.png"}, {kBoutiqueBTemplate, "amp-boutiqueb.png"},
  };
  for (const auto& [id, picture] : drive) {
    EXPECT_EQ(kDriveTemplates[static_cast<std::size_t>(id)].picture, picture) << id;
  }
  const std::vector<std::pair<int, std::string>> ambience = {
      {kRoomTemplate, "radio-room.png"},         {kHallTemplate, "radio-hall.png"},
      {kSpringTemplate, "radio-spring.png"},     {kPlateTemplate, "radio-plate.png"},
      {kChorusTemplate, "radio-chorus.png"},     {kEchoTemplate, "radio-echo.png"},
      {kEchoverbTemplate, "radio-echoverb.png"},
  };
  for (const auto& [id, picture] : ambience) {
    EXPECT_EQ(kAmbienceTemplates[static_cast<std::size_t>(id)].picture, picture) << id;
  }
}

TEST(SoundTemplates, DriveSetsInOrderWithTheirValues) {
  for (const auto& e : kExpectedDrive) {
    ExpectSets(DriveTemplateSets(e.k), e);
    EXPECT_STREQ(kDriveTemplates[static_cast<size_t>(e.k)].picture, e.picture);
    EXPECT_EQ(kFirstDriveButtonTag + e.k, e.tag);
  }
}

TEST(SoundTemplates, AmbienceSetsInOrderWithTheirValues) {
  for (const auto& e : kExpectedAmbience) {
    ExpectSets(AmbienceTemplateSets(e.k), e);
    EXPECT_STREQ(kAmbienceTemplates[static_cast<size_t>(e.k)].picture, e.picture);
    EXPECT_EQ(kFirstAmbienceButtonTag + e.k, e.tag);
  }
}

TEST(SoundTemplates, UnknownTemplateSetsNothing) {
  EXPECT_TRUE(DriveTemplateSets(-1).empty());
  EXPECT_TRUE(DriveTemplateSets(10).empty());
  EXPECT_TRUE(AmbienceTemplateSets(-1).empty());
  EXPECT_TRUE(AmbienceTemplateSets(7).empty());
}

// Performs the applier's sets on a real catalogue, with the link of 69 done the
// way the change handler does it, and returns the resulting raw values.
std::array<int, kNumSoundParams> Apply(const std::vector<TemplateSet>& sets,
                                       ParamCatalogue& params) {
  for (const auto& s : sets) {
    if (s.byLink) continue;
    params[s.index].SetNormalized(s.normalized);
    if (s.index == 69) params[10].SetNormalized(params[69].Raw() / 127.0);
  }
  std::array<int, kNumSoundParams> values{};
  for (int i = 0; i < kNumSoundParams; ++i) values[static_cast<size_t>(i)] = params[i].Raw();
  return values;
}

TEST(SoundTemplates, CompressionAndDynamicsEndAtTheDynamicsFieldOr64) {
  {
    ParamCatalogue params;
    Apply(DriveTemplateSets(0), params);  // "amp-blond.png", dynamics 88
    EXPECT_EQ(params[10].Raw(), 88);
    EXPECT_EQ(params[69].Raw(), 88);
  }
  {
    ParamCatalogue params;
    params[10].Set(20);
    params[69].Set(100);
    Apply(DriveTemplateSets(2), params);  // "amp-british.png", dynamics 64
    EXPECT_EQ(params[10].Raw(), 64);
    EXPECT_EQ(params[69].Raw(), 64);
  }
}

TEST(SoundTemplates, ApplyingLeavesUnlistedParametersAlone) {
  ParamCatalogue params;
  params[8].Set(33);   // "Reverb"
  params[17].Set(44);  // "Reverb Decay Time"
  params[57].Set(3);   // "Reverb Mode"
  params[0].Set(12);
  Apply(AmbienceTemplateSets(3), params);
  Apply(DriveTemplateSets(5), params);
  EXPECT_EQ(params[8].Raw(), 33);
  EXPECT_EQ(params[17].Raw(), 44);
  EXPECT_EQ(params[57].Raw(), 3);
  EXPECT_EQ(params[0].Raw(), 12);
}

TEST(SoundTemplates, EveryTemplateMatchesItselfAfterBeingApplied) {
  for (int d = 0; d < kNumDriveTemplates; ++d) {
    for (int a = 0; a < kNumAmbienceTemplates; ++a) {
      ParamCatalogue params;
      Apply(DriveTemplateSets(d), params);
      const auto values = Apply(AmbienceTemplateSets(a), params);
      const TemplateMatch m = MatchTemplates(values);
      EXPECT_EQ(m.drive, d);
      EXPECT_EQ(m.ambience, a);
    }
  }
}

std::array<int, kNumSoundParams> ValuesOf(const ExpectedTemplate& e, int base) {
  std::array<int, kNumSoundParams> values;
  values.fill(base);
  for (const auto& [index, raw] : ParseSets(e.sets)) {
    if (index < kNumSoundParams) values[static_cast<size_t>(index)] = raw;  // 69 is editor-only
  }
  return values;
}

TEST(SoundTemplates, OneComparedValueOffMatchesNoTemplate) {
  for (const auto& e : kExpectedDrive) {
    for (int index : {2, 3, 44, 45, 46, 11}) {
      for (int delta : {-1, 1}) {
        auto values = ValuesOf(e, 64);
        values[static_cast<size_t>(index)] += delta;
        EXPECT_EQ(MatchTemplates(values).drive, kNoDriveTemplate) << e.picture << " " << index;
      }
    }
  }
  for (const auto& e : kExpectedAmbience) {
    for (int index : {18, 19, 20, 21, 22, 23, 24, 58, 59}) {
      for (int delta : {-1, 1}) {
        auto values = ValuesOf(e, 64);
        values[static_cast<size_t>(index)] += delta;
        EXPECT_EQ(MatchTemplates(values).ambience, kNoAmbienceTemplate)
            << e.picture << " " << index;
      }
    }
  }
}

TEST(SoundTemplates, UncomparedValuesDoNotMatter) {
  for (const auto& e : kExpectedDrive) {
    auto values = ValuesOf(e, 64);
    for (int index : {1, 4, 5, 10, 64}) values[static_cast<size_t>(index)] = 3;
    EXPECT_EQ(MatchTemplates(values).drive, e.k);
  }
  for (const auto& e : kExpectedAmbience) {
    auto values = ValuesOf(e, 64);
    values[16] = 1;  // room size
    EXPECT_EQ(MatchTemplates(values).ambience, e.k);
  }
}

TEST(SoundTemplates, AllCentredAndCatalogueDefaultsMatchNothing) {
  std::array<int, kNumSoundParams> centred;
  centred.fill(64);
  EXPECT_EQ(MatchTemplates(centred).drive, kNoDriveTemplate);

  ParamCatalogue params;
  std::array<int, kNumSoundParams> defaults{};
  for (int i = 0; i < kNumSoundParams; ++i) defaults[static_cast<size_t>(i)] = params[i].Raw();
  EXPECT_EQ(MatchTemplates(defaults).ambience, kNoAmbienceTemplate);
}

TEST(SoundTemplates, CalimetalMatchesWhateverItsGain) {
  std::array<int, kNumSoundParams> values{};
  values[2] = 45;
  values[3] = 64;
  values[44] = values[45] = values[46] = 64;
  values[11] = 54;
  values[1] = 5;
  values[4] = 127;
  EXPECT_EQ(MatchTemplates(values).drive, 8);
}

TEST(SoundTemplates, DriveHighlightLightsOneButton) {
  const DriveHighlight lit = DriveHighlightFor(4, 14);
  for (int j = 0; j < kNumDriveTemplates; ++j) EXPECT_EQ(lit.buttonValues[j], j == 4 ? 1 : 0);
  EXPECT_FALSE(lit.redrawGroup);
  EXPECT_TRUE(DriveHighlightFor(4, 13).redrawGroup);
  for (int k : {kNoDriveTemplate, -1, 99}) {
    const DriveHighlight none = DriveHighlightFor(k, 13);
    for (int v : none.buttonValues) EXPECT_EQ(v, 0);
  }
}

TEST(SoundTemplates, EchoVoicingsShowTheTimeGroupOnlyOnTheAmbiencePage) {
  struct Case {
    int k;
    int page;
    GroupChange group;
    bool redraw;
  };
  const Case cases[] = {
      {5, 3, GroupChange::kShow, true},   {6, 3, GroupChange::kShow, true},
      {5, 13, GroupChange::kKeep, false}, {6, 0, GroupChange::kKeep, false},
      {0, 3, GroupChange::kHide, true},   {0, 13, GroupChange::kHide, false},
      {4, 1, GroupChange::kHide, false},  {kNoAmbienceTemplate, 3, GroupChange::kHide, true},
  };
  for (const auto& c : cases) {
    const AmbienceHighlight h = AmbienceHighlightFor(c.k, c.page);
    EXPECT_EQ(h.echoTimeGroup, c.group) << c.k << " on " << c.page;
    EXPECT_EQ(h.redrawButtons, c.redraw) << c.k << " on " << c.page;
    for (int j = 0; j < kNumAmbienceTemplates; ++j) EXPECT_EQ(h.buttonValues[j], j == c.k ? 1 : 0);
  }
}

TEST(SoundTemplates, MatchOnTheDrivePageShowsItAgain) {
  const MatchHighlights onDrive = MatchHighlightsFor({3, 5}, 13);
  EXPECT_TRUE(onDrive.reshowDrivePage);
  EXPECT_EQ(onDrive.drive.buttonValues[3], 1);
  EXPECT_EQ(onDrive.ambience.echoTimeGroup, GroupChange::kKeep);
  EXPECT_FALSE(MatchHighlightsFor({3, 5}, 3).reshowDrivePage);
}

TEST(SoundTemplates, OnlyADarkButtonActs) {
  EXPECT_TRUE(TemplateButtonActs(0.0));
  EXPECT_FALSE(TemplateButtonActs(1.0));
}

}  // namespace
}  // namespace qd3
