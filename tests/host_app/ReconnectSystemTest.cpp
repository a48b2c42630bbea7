// The pedal unplugged and plugged back in while the editor runs, played by
// qd3-sim on JACK ports: stopped, then started again under the same client
// name. The editor must reopen its stored ports by itself and talk to the new
// pedal, without a click.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
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

// What the simulator logs for every message the editor sends it.
constexpr char kEditorToDevice[] = "E->D ";

bool SimulatorHeardTheEditor(const std::filesystem::path& log) {
  return ReadText(log).find(kEditorToDevice) != std::string::npos;
}

TEST(EditorReconnectSystem, StoredJackPortThatComesBackIsReopenedWithoutAClick) {
  test::JackDummyServer jack;
  ASSERT_TRUE(jack.Running()) << jack.Error();
  test::TempFolder folder;
  const std::filesystem::path base = folder.Path() / "data" / "QD3Control";
  std::filesystem::create_directories(base);

  const std::string client = "QD3Sim" + std::to_string(getpid());
  const std::vector<std::string> simArgs{QD3_SIM_EXE, "--api", "jack", "--client", client, "--log"};
  const auto firstLog = folder.Path() / "sim-first.log";
  std::optional<Child> sim(std::in_place, simArgs, firstLog);
  ASSERT_TRUE(sim->Started());
  const std::string firstProblem = test::WaitForSimulatorPorts(firstLog, client, folder.Path());
  ASSERT_TRUE(firstProblem.empty()) << firstProblem;

  std::ofstream(base / "settings.ini")
      << "[audio]\ndriver=1\noutdev=system\nindev=system\nsr=48000\nbuffer=512\n"
      << "[midi]\nindev=" << client << " Out:MIDI Out\noutdev=" << client << " In:MIDI In\n"
      << "[GUI]\nscale=0.5\n";
  VirtualDisplay display(folder.Path());
  ASSERT_FALSE(display.Missing()) << "Xvfb was not found on PATH (Debian package xvfb)";
  ASSERT_FALSE(display.Name().empty()) << ReadText(folder.Path() / "xvfb.log");
  const std::vector<std::string> env{"DISPLAY=" + display.Name(),
                                     "XDG_DATA_HOME=" + (folder.Path() / "data").string(),
                                     "GSETTINGS_BACKEND=memory", "NO_AT_BRIDGE=1",
                                     std::string("LSAN_OPTIONS=suppressions=") + QD3_LSAN_SUPP};
  const auto editorLog = folder.Path() / "editor.log";
  Child editor({QD3_EDITOR_EXE}, editorLog, env);
  ASSERT_TRUE(editor.Started());
  ASSERT_TRUE(WaitFor([&] { return SimulatorHeardTheEditor(firstLog); }, 30s))
      << ReadText(editorLog);
  const std::string firstSilent = test::WaitForFirstSimulatorAnswer(firstLog);
  ASSERT_TRUE(firstSilent.empty()) << firstSilent;

  // Unplugged: the simulator's ports go with its JACK client.
  sim.reset();
  std::this_thread::sleep_for(1s);
  EXPECT_FALSE(editor.Wait(0ms).has_value()) << "the editor ended: " << ReadText(editorLog);

  // Plugged back in under the same names.
  const auto secondLog = folder.Path() / "sim-second.log";
  sim.emplace(simArgs, secondLog);
  ASSERT_TRUE(sim->Started());
  const std::string secondProblem = test::WaitForSimulatorPorts(secondLog, client, folder.Path());
  ASSERT_TRUE(secondProblem.empty()) << secondProblem;
  const auto back = std::chrono::steady_clock::now();
  EXPECT_TRUE(
      WaitFor([&] { return ReadText(editorLog).find("MIDI port back") != std::string::npos; }, 2s))
      << "not reopened within 2 s:\n"
      << ReadText(editorLog);
  // The session's ordinary poll then reaches the new pedal, which answers.
  EXPECT_TRUE(WaitFor([&] { return SimulatorHeardTheEditor(secondLog); }, 15s))
      << "editor:\n"
      << ReadText(editorLog) << "\nsimulator:\n"
      << ReadText(secondLog).substr(0, 3000);
  const auto heard = std::chrono::steady_clock::now() - back;
  std::printf("editor reached the new pedal %.2f s after its ports were back\n",
              std::chrono::duration<double>(heard).count());
  const std::string secondSilent = test::WaitForFirstSimulatorAnswer(secondLog);
  EXPECT_TRUE(secondSilent.empty()) << secondSilent;

  // The stored names were kept through it all.
  const std::string settings = ReadText(base / "settings.ini");
  EXPECT_NE(settings.find("indev=" + client + " Out:MIDI Out"), std::string::npos) << settings;
}

}  // namespace
}  // namespace qd3
