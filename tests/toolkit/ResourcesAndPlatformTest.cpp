// Embedded resources (by name, by id, the fonts) and the scripted platform services.
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

#include "tests/support/ScriptedPlatformServices.h"
#include "toolkit/FontStore.h"
#include "toolkit/api/EmbeddedResources.h"

namespace qd3::test {
namespace {

std::string FamilyOf(const EmbeddedResource& r) {
  FT_Library lib = nullptr;
  FT_Init_FreeType(&lib);
  FT_Face face = nullptr;
  std::string family;
  if (FT_New_Memory_Face(lib, r.bytes.data(), static_cast<FT_Long>(r.bytes.size()), 0, &face) ==
      0) {
    family = face->family_name ? face->family_name : "";
    FT_Done_Face(face);
  }
  FT_Done_FreeType(lib);
  return family;
}

struct FontCase {
  const char* fileName;
  const char* familyPrefix;
};

class EmbeddedFontTest : public ::testing::TestWithParam<FontCase> {};

TEST_P(EmbeddedFontTest, IsATrueTypeFaceOfTheExpectedFamily) {
  const EmbeddedResource* r = FindEmbeddedResource(GetParam().fileName);
  ASSERT_NE(r, nullptr) << GetParam().fileName;
  EXPECT_GT(r->bytes.size(), 1000u);
  EXPECT_EQ(FamilyOf(*r).rfind(GetParam().familyPrefix, 0), 0u) << FamilyOf(*r);
}

INSTANTIATE_TEST_SUITE_P(Fonts, EmbeddedFontTest,
                         ::testing::Values(FontCase{"Roboto-Regular.ttf", "Roboto"},
                                           FontCase{"MyBlueRoom.ttf", "DSEG7"},
                                           FontCase{"ni7seg.ttf", "DSEG7"},
                                           FontCase{"Knowledge-Bold.ttf", "Roboto"},
                                           FontCase{"forkawesome-webfont.ttf", "forkawesome"},
                                           FontCase{"fontaudio.ttf", "DejaVu"}));

TEST(EmbeddedResources, FoundByNameAndById) {
  const EmbeddedResource* byName = FindEmbeddedResource("toolkit-test-sample.txt");
  ASSERT_NE(byName, nullptr);
  const EmbeddedResource* byId = FindEmbeddedResourceById(9001);
  ASSERT_EQ(byId, byName);
  const std::string text(reinterpret_cast<const char*>(byName->bytes.data()), byName->bytes.size());
  EXPECT_EQ(text, "embedded sample");
  EXPECT_EQ(byName->bytes.data()[byName->bytes.size()], 0) << "a NUL follows the bytes";
  EXPECT_EQ(FindEmbeddedResource("missing.bin"), nullptr);
  EXPECT_EQ(FindEmbeddedResourceById(-1), nullptr);
  EXPECT_EQ(FindEmbeddedResourceById(424242), nullptr);
}

TEST(FontStore, LoadsFontsUnderTheirIds) {
  FontStore fonts;
  EXPECT_TRUE(fonts.LoadFont("Font7Seg", "MyBlueRoom.ttf"));
  EXPECT_FALSE(fonts.LoadFont("Missing", "missing.ttf"));
  EXPECT_TRUE(fonts.HasFont("Font7Seg"));
  EXPECT_FALSE(fonts.HasFont("Missing"));
  EXPECT_NE(fonts.Face(""), nullptr) << "a fallback face before the default is loaded";
  const auto* fallback = fonts.Face("");
  EXPECT_TRUE(fonts.LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
  EXPECT_NE(fonts.Face(""), fallback) << "the default font now";
  EXPECT_EQ(fonts.Face("unknown id"), fonts.Face("Roboto-Regular"));
}

TEST(ScriptedPlatform, AnswersFromItsQueuesAndRecordsTheCalls) {
  using ECall = ScriptedPlatformServices::ECall;
  ScriptedPlatformServices p;
  p.QueueMessageBoxResult(EMsgBoxResult::Cancel);
  p.QueueOpenFileResult("/tmp/a.q3p");
  EXPECT_EQ(p.ShowMessageBox("Finished successfully!", "", EMsgBoxType::OK), EMsgBoxResult::OK)
      << "a box with only OK takes no queued answer";
  EXPECT_EQ(p.ShowMessageBox("Are you sure?", "", EMsgBoxType::OKCancel), EMsgBoxResult::Cancel);
  EXPECT_EQ(p.ShowMessageBox("Are you sure?", "", EMsgBoxType::OKCancel), EMsgBoxResult::OK);
  EXPECT_EQ(p.PromptForOpenFile("q3p", "/home"), "/tmp/a.q3p");
  EXPECT_EQ(p.PromptForOpenFile("ldr", ""), "") << "an empty queue cancels";
  EXPECT_EQ(p.PromptForSaveFile("q3b", "/x", "bank"), "");
  EXPECT_TRUE(p.OpenURL("https://example.com"));
  ASSERT_EQ(p.Calls().size(), 7u);
  EXPECT_EQ(p.CountCalls(ECall::kMessageBox), 3u);
  EXPECT_EQ(p.Calls()[3].extension, "q3p");
  EXPECT_EQ(p.Calls()[3].startFolder, "/home");
  EXPECT_EQ(p.Calls()[5].defaultName, "bank");
  EXPECT_EQ(p.Calls()[1].boxType, EMsgBoxType::OKCancel);
}

}  // namespace
}  // namespace qd3::test
