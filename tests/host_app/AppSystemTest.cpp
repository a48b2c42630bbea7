// The editor as a real process: a private JACK server, qd3-sim on JACK MIDI
// ports, the editor under its own Xvfb with a settings file naming those ports.
// It must connect and fill its cache, survive a second start, draw its window,
// and on its close box say goodbye to the pedal and store its scale.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/host_app/ChildProcess.h"
#include "tests/host_app/SimulatorStart.h"
#include "tests/support/JackDummyServer.h"
#include "tests/support/TempFolder.h"

namespace qd3 {
namespace {

using namespace std::chrono_literals;
using test::Child;
using test::ReadText;
using test::VirtualDisplay;
using test::WaitFor;

TEST(EditorWindowSystem, ConnectsOverJackDrawsAndSaysGoodbyeOnClose) {
  test::JackDummyServer jack;
  ASSERT_TRUE(jack.Running()) << jack.Error();

  test::TempFolder folder;
  const std::filesystem::path base = folder.Path() / "data" / "QD3Control";
  std::filesystem::create_directories(base);

  const std::string client = "QD3Sim" + std::to_string(getpid());
  const auto simLog = folder.Path() / "sim.log";
  Child sim({QD3_SIM_EXE, "--api", "jack", "--client", client, "--log"}, simLog);
  ASSERT_TRUE(sim.Started()) << "qd3-sim: " << std::strerror(sim.SpawnError());
  const std::string simProblem = test::WaitForSimulatorPorts(simLog, client, folder.Path());
  ASSERT_TRUE(simProblem.empty()) << simProblem;

  // The editor's input listens to the pedal's output and the other way round.
  std::ofstream(base / "settings.ini")
      << "[audio]\ndriver=1\noutdev=system\nindev=system\nsr=48000\nbuffer=512\n"
      << "[midi]\nindev=" << client << " Out:MIDI Out\noutdev=" << client << " In:MIDI In\n"
      << "[GUI]\nscale=0.5\n";

  VirtualDisplay display(folder.Path());
  ASSERT_FALSE(display.Missing()) << "Xvfb was not found on PATH (Debian package xvfb); this "
                                     "system test fails without it.";
  ASSERT_FALSE(display.Name().empty()) << ReadText(folder.Path() / "xvfb.log");

  const std::vector<std::string> env{
      "DISPLAY=" + display.Name(), "XDG_DATA_HOME=" + (folder.Path() / "data").string(),
      "GSETTINGS_BACKEND=memory",  "NO_AT_BRIDGE=1",
      "QD3_REPORT_FIRST_FRAME=1",  std::string("LSAN_OPTIONS=suppressions=") + QD3_LSAN_SUPP};
  const auto editorLog = folder.Path() / "editor.log";
  Child editor({QD3_EDITOR_EXE}, editorLog, env);
  ASSERT_TRUE(editor.Started());
  ASSERT_TRUE(WaitFor(
      [&] { return ReadText(editorLog).find("first frame drawn") != std::string::npos; }, 30s))
      << ReadText(editorLog);

  const std::string silent = test::WaitForFirstSimulatorAnswer(simLog);
  ASSERT_TRUE(silent.empty()) << silent << "\neditor:\n" << ReadText(editorLog);

  // Connected and synchronised: every preset is in the cache.
  EXPECT_TRUE(WaitFor([&] { return std::filesystem::exists(base / "Presets" / "128.dat"); }, 90s))
      << "editor:\n"
      << ReadText(editorLog) << "\nsimulator:\n"
      << ReadText(simLog).substr(0, 4000);
  EXPECT_TRUE(std::filesystem::exists(base / "Presets" / "001.dat"));

  // A second start only raises the first window.
  Child second({QD3_EDITOR_EXE}, folder.Path() / "second.log", env);
  EXPECT_EQ(second.Wait(20s), std::optional<int>(0)) << ReadText(folder.Path() / "second.log");

  const std::string shot = std::string(QD3_SCREENSHOT_DIR) + "/editor-window.png";
  std::filesystem::remove(shot);
  Child screenshot({QD3_XTOOL_EXE, "screenshot", shot}, folder.Path() / "tool.log",
                   {"DISPLAY=" + display.Name()});
  EXPECT_EQ(screenshot.Wait(20s), std::optional<int>(0)) << ReadText(folder.Path() / "tool.log");
  EXPECT_GT(std::filesystem::exists(shot) ? std::filesystem::file_size(shot) : 0u, 1000u);

  Child closer({QD3_XTOOL_EXE, "close", "QD3Control"}, folder.Path() / "tool.log",
               {"DISPLAY=" + display.Name()});
  EXPECT_EQ(closer.Wait(20s), std::optional<int>(0)) << ReadText(folder.Path() / "tool.log");
  EXPECT_EQ(editor.Wait(30s), std::optional<int>(0)) << ReadText(editorLog);

  EXPECT_TRUE(WaitFor(
      [&] {
        return ReadText(simLog).find("E->D kCmdEditorClosing (8): F0 00 3F 6B 03 5F 0B F7") !=
               std::string::npos;
      },
      5s))
      << ReadText(simLog).substr(0, 2000);
  const std::string settings = ReadText(base / "settings.ini");
  EXPECT_NE(settings.find("scale=0.500000"), std::string::npos) << settings;
  EXPECT_NE(settings.find("driver=1"), std::string::npos) << settings;
}

}  // namespace
}  // namespace qd3
