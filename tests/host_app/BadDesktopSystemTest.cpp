// Start-up on a bad desktop: no display; a display but no sound card, no ALSA
// sequencer and no JACK server. Each ends in one clear line on stderr and never
// in a crash or a hang: without a display the program exits with 1; without
// sound and MIDI it says so once, shows its message box and keeps running
// until it is closed.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host_app/ChildProcess.h"
#include "tests/support/TempFolder.h"

namespace qd3 {
namespace {

using namespace std::chrono_literals;
using test::Child;
using test::ReadText;
using test::VirtualDisplay;
using test::WaitFor;

// The program's own lines. A sanitizer build may close the output with its statistics
// (a rule of dashes, then the suppressions it used); that footer is not the program's.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("-----", 0) == 0) break;
    lines.push_back(line);
  }
  return lines;
}

// No JACK server of that name exists, and none may be started for us.
std::vector<std::string> NoJackEnv(const std::filesystem::path& data) {
  return {"XDG_DATA_HOME=" + data.string(),
          "JACK_DEFAULT_SERVER=qd3-absent-" + std::to_string(getpid()),
          "JACK_NO_START_SERVER=1",
          "GSETTINGS_BACKEND=memory",
          "NO_AT_BRIDGE=1",
          std::string("LSAN_OPTIONS=suppressions=") + QD3_LSAN_SUPP};
}

TEST(BadDesktopSystem, NoDisplayExitsWithOneAndOneLine) {
  test::TempFolder folder;
  std::vector<std::string> env = NoJackEnv(folder.Path() / "data");
  env.insert(env.end(), {"DISPLAY=", "WAYLAND_DISPLAY="});
  const auto log = folder.Path() / "editor.log";
  Child editor({QD3_EDITOR_EXE}, log, env);
  ASSERT_TRUE(editor.Started());
  EXPECT_EQ(editor.Wait(20s), std::optional<int>(1)) << ReadText(log);
  EXPECT_EQ(ReadText(log), "qd3control: cannot open the display\n");
}

TEST(BadDesktopSystem, NoSoundCardNoSequencerNoJackSaysSoOnceAndKeepsRunning) {
  if (std::filesystem::exists("/dev/snd/seq")) {
    GTEST_SKIP() << "this machine has an ALSA sequencer";
  }
  test::TempFolder folder;
  const std::filesystem::path base = folder.Path() / "data" / "QD3Control";
  std::filesystem::create_directories(base);
  // JACK chosen: with no server both MIDI and audio must fall back to ALSA,
  // which is missing as well.
  std::ofstream(base / "settings.ini") << "[audio]\ndriver=1\n[midi]\nindev=QD3\noutdev=QD3\n";
  VirtualDisplay display(folder.Path());
  ASSERT_FALSE(display.Missing()) << "Xvfb was not found on PATH (Debian package xvfb)";
  ASSERT_FALSE(display.Name().empty());
  std::vector<std::string> env = NoJackEnv(folder.Path() / "data");
  env.push_back("DISPLAY=" + display.Name());
  const auto log = folder.Path() / "editor.log";
  Child editor({QD3_EDITOR_EXE}, log, env);
  ASSERT_TRUE(editor.Started());
  ASSERT_TRUE(
      WaitFor([&] { return ReadText(log).find("no audio stream") != std::string::npos; }, 30s))
      << ReadText(log);

  // The soundcard message box, then the main window: both close normally.
  const std::vector<std::string> toolEnv{"DISPLAY=" + display.Name()};
  const auto toolLog = folder.Path() / "tool.log";
  EXPECT_TRUE(WaitFor(
      [&] {
        Child box({QD3_XTOOL_EXE, "close", "Error"}, toolLog, toolEnv);
        return box.Wait(10s) == std::optional<int>(0);
      },
      20s))
      << ReadText(toolLog);
  EXPECT_FALSE(editor.Wait(500ms).has_value()) << "ended after the box: " << ReadText(log);
  EXPECT_TRUE(WaitFor(
      [&] {
        Child window({QD3_XTOOL_EXE, "close", "QD3Control"}, toolLog, toolEnv);
        return window.Wait(10s) == std::optional<int>(0);
      },
      20s))
      << ReadText(toolLog);
  EXPECT_EQ(editor.Wait(30s), std::optional<int>(0)) << ReadText(log);

  // One line for MIDI, one for audio, none of the libraries' own chatter.
  const std::vector<std::string> lines = Lines(ReadText(log));
  ASSERT_EQ(lines.size(), 2u) << ReadText(log);
  EXPECT_EQ(lines[0].rfind("qd3control: no MIDI system", 0), 0u) << lines[0];
  // JACK was chosen, but with no server the ALSA sequencer was what failed:
  // no JACK object that lists nothing was made instead.
  EXPECT_NE(lines[0].find("ALSA sequencer client"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1].rfind("qd3control: no audio stream", 0), 0u) << lines[1];
}

}  // namespace
}  // namespace qd3
