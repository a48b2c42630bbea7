// The small text pieces of qd3ctl: the JSON string escaper, the progress line and the
// inspector's name and version texts.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/InspectKinds.h"
#include "cli/Json.h"
#include "cli/ProgressLine.h"

namespace qd3::cli {
namespace {

TEST(JsonString, EscapesWhatWouldBreakTheOutput) {
  const struct {
    std::string in;
    const char* out;
  } cases[] = {
      {"Plain Name", "\"Plain Name\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"tab\tnl\n", "\"tab\\tnl\\n\""},
      {std::string("nul\0x", 5), "\"nul\\u0000x\""},
      {"\x1f", "\"\\u001f\""},
      {"\xe9", "\"\\u00e9\""},  // a byte no pedal name holds: Latin-1, still valid JSON
  };
  for (const auto& c : cases) EXPECT_EQ(JsonString(c.in), c.out);
}

TEST(EscapedForTerminal, PrintsOnlyPrintableAsciiAndTellsEveryByteApart) {
  const struct {
    std::string in;
    const char* out;
  } cases[] = {
      {"Plain Name 1-2 ~", "Plain Name 1-2 ~"},
      {"\x1b[31mred", "\\x1B[31mred"},
      {"bell\x07", "bell\\x07"},
      {"\x7f\x80\x9b\xff", "\\x7F\\x80\\x9B\\xFF"},
      {std::string("nul\0x", 5), "nul\\x00x"},
      {"tab\tnl\n", "tab\\x09nl\\x0A"},
      {"a\\x1B", "a\\\\x1B"},  // a written backslash never reads as an escape
  };
  for (const auto& c : cases) EXPECT_EQ(EscapedForTerminal(c.in), c.out);
}

TEST(VersionText, NumbersWhenBothBytesArePositiveElseTheBytes) {
  EXPECT_EQ(VersionText(1, 0), "1.0");
  EXPECT_EQ(VersionText(0, 9), "0.9");
  EXPECT_EQ(VersionText(127, 127), "127.127");
  EXPECT_EQ(VersionText(0xFF, 0xFF), "bytes 0xFF 0xFF");
  EXPECT_EQ(VersionText(1, 0x80), "bytes 0x01 0x80");
  EXPECT_EQ(VersionText(0xF6, 0), "bytes 0xF6 0x00");
}

TEST(JsonWriter, PutsCommasBetweenValuesOnly) {
  JsonWriter w;
  w.BeginObject().Key("a").BeginArray().Int(1).Null().Bool(true).EndArray();
  w.Key("b").BeginObject().EndObject().Key("c").Number(0.5).EndObject();
  EXPECT_EQ(w.Text(), "{\"a\": [1, null, true], \"b\": {}, \"c\": 0.5}");
}

TEST(ProgressLine, PlainOutputWritesOneLinePerTenth) {
  std::ostringstream err;
  ProgressLine line(err, false, "backup");
  for (int i = 0; i <= 128; ++i) line.Show(i / 128.0);
  line.Done();
  EXPECT_EQ(err.str(),
            "backup: 0 %\nbackup: 10 %\nbackup: 20 %\nbackup: 30 %\nbackup: 40 %\nbackup: 50 %\n"
            "backup: 60 %\nbackup: 70 %\nbackup: 80 %\nbackup: 90 %\nbackup: 100 %\n");
}

TEST(ProgressLine, TerminalOutputRewritesOneLine) {
  std::ostringstream err;
  ProgressLine line(err, true, "restore");
  line.Show(0.0);
  line.Show(0.004);  // still 0 %: nothing new
  line.Show(0.5);
  line.Done();
  EXPECT_EQ(err.str(), "\rrestore: 0 %\rrestore: 50 %\n");
}

}  // namespace
}  // namespace qd3::cli
