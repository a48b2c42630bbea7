#include "host/app/IniFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/TempFolder.h"

namespace qd3 {
namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path) << text;
}

TEST(IniFile, MissingFileGivesDefaults) {
  test::TempFolder folder;
  IniFile ini(folder.Path() / "none.ini");
  EXPECT_EQ(ini.GetInt("audio", "sr", 44100), 44100);
  EXPECT_EQ(ini.GetString("midi", "indev", "no input"), "no input");
}

struct LookupCase {
  const char* section;
  const char* key;
  const char* expected;
};

TEST(IniFile, SectionsAndKeysMatchWithoutRegardToCase) {
  test::TempFolder folder;
  const auto path = folder.Path() / "s.ini";
  WriteText(path, "; comment\n[Audio]\nSR = 48000 \n[MIDI]\nindev=Port A\n[gui]\nscale=0.75\n");
  IniFile ini(path);
  const LookupCase cases[] = {
      {"audio", "sr", "48000"}, {"AUDIO", "Sr", "48000"},   {"midi", "INDEV", "Port A"},
      {"GUI", "scale", "0.75"}, {"audio", "indev", "dflt"}, {"video", "sr", "dflt"},
  };
  for (const LookupCase& c : cases) {
    EXPECT_EQ(ini.GetString(c.section, c.key, "dflt"), c.expected) << c.section << "." << c.key;
  }
}

TEST(IniFile, IntegersFollowTheProfileRules) {
  test::TempFolder folder;
  const auto path = folder.Path() / "s.ini";
  WriteText(path, "[a]\nplain=512\nneg=-3\ntext=abc\ntrail=12xyz\nempty=\n");
  IniFile ini(path);
  EXPECT_EQ(ini.GetInt("a", "plain", 7), 512);
  EXPECT_EQ(ini.GetInt("a", "neg", 7), -3);
  EXPECT_EQ(ini.GetInt("a", "text", 7), 0);
  EXPECT_EQ(ini.GetInt("a", "trail", 7), 12);
  EXPECT_EQ(ini.GetInt("a", "empty", 7), 0);
  EXPECT_EQ(ini.GetInt("a", "missing", 7), 7);
}

TEST(IniFile, WritingAKeyKeepsEverythingElse) {
  test::TempFolder folder;
  const auto path = folder.Path() / "s.ini";
  WriteText(path, "; mine\n[audio]\ndriver=1\nsr=48000\n[GUI]\nscale=0.5\n");
  IniFile ini(path);
  ASSERT_TRUE(ini.WriteString("AUDIO", "SR", "44100"));
  ASSERT_TRUE(ini.WriteString("audio", "buffer", "256"));
  ASSERT_TRUE(ini.WriteString("midi", "indev", "off"));
  EXPECT_EQ(ReadText(path),
            "; mine\n[audio]\ndriver=1\nSR=44100\nbuffer=256\n[GUI]\nscale=0.5\n[midi]\n"
            "indev=off\n");
}

TEST(IniFile, WriteLeavesNoTemporaryFileBehind) {
  test::TempFolder folder;
  IniFile ini(folder.Path() / "s.ini");
  ASSERT_TRUE(ini.WriteString("a", "k", "v"));
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST(IniFile, WriteIntoAMissingFolderFailsAndReportsIt) {
  test::TempFolder folder;
  IniFile ini(folder.Path() / "no" / "such" / "s.ini");
  EXPECT_FALSE(ini.WriteString("a", "k", "v"));
}

// Regression: a file saved with a UTF-8 byte-order mark lost its first section.
TEST(IniFile, LeadingByteOrderMarkIsSkipped) {
  test::TempFolder folder;
  const auto path = folder.Path() / "a.ini";
  WriteText(path, "\xEF\xBB\xBF[audio]\r\nsr=48000\r\n[midi]\r\nindev=X\r\n");
  IniFile ini(path);
  EXPECT_EQ(ini.GetInt("audio", "sr", 0), 48000);
  EXPECT_EQ(ini.GetString("midi", "indev", ""), "X");
  ASSERT_TRUE(ini.WriteString("audio", "buffer", "256"));
  EXPECT_EQ(ini.GetInt("audio", "sr", 0), 48000);
  EXPECT_EQ(ini.GetInt("audio", "buffer", 0), 256);
}

// Regression (found by fuzzing): behind a second byte-order mark "[audio]" was no section,
// so a written value went into a new section and the next read gave the old one.
TEST(IniFile, TwoByteOrderMarksKeepAWrittenValue) {
  test::TempFolder folder;
  const auto path = folder.Path() / "a.ini";
  WriteText(path, "\xEF\xBB\xBF\xEF\xBB\xBF[audio]\nbuffer=512\n");
  ASSERT_TRUE(IniFile(path).WriteString("audio", "buffer", "256"));
  EXPECT_EQ(IniFile(path).GetInt("audio", "buffer", 0), 256);
}

// Regression: a value cut at its limit just after a blank kept that blank, the next read
// trimmed it, and the settings were rewritten at every start.
TEST(IniFile, ValueCutAtItsLimitIsTrimmedAgain) {
  test::TempFolder folder;
  const auto path = folder.Path() / "a.ini";
  WriteText(path, "[audio]\noutdev=" + std::string(98, 'x') + " yz\n");
  IniFile ini(path);
  const std::string cut = ini.GetString("audio", "outdev", "", 99);
  EXPECT_EQ(cut, std::string(98, 'x'));
  ASSERT_TRUE(ini.WriteString("audio", "outdev", cut));
  EXPECT_EQ(ini.GetString("audio", "outdev", "", 99), cut);
}

}  // namespace
}  // namespace qd3
