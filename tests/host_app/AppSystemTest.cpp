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

#include "tests/host_midi/JackDummyServer.h"
#include "tests/support/TempFolder.h"

extern char** environ;

namespace qd3 {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (Clock::now() < deadline) {
    if (done()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return done();
}

// A child process with its output in a file; killed if still running when the
// object goes, so a failing test never leaves processes behind.
class Child {
 public:
  Child(std::vector<std::string> args, const std::filesystem::path& output,
        const std::vector<std::string>& extraEnv = {}, int passFd = -1) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    for (const std::string& e : extraEnv) env.push_back(e);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    if (passFd >= 0) posix_spawn_file_actions_adddup2(&actions, passFd, 3);
    mError = posix_spawnp(&mPid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (mError != 0) mPid = -1;
  }
  ~Child() {
    if (mPid <= 0) return;
    kill(mPid, SIGTERM);
    if (!Wait(5s)) {
      kill(mPid, SIGKILL);
      Wait(5s);
    }
  }
  bool Started() const { return mPid > 0; }
  int SpawnError() const { return mError; }
  pid_t Pid() const { return mPid; }
  // The exit status once the child has ended within the timeout.
  std::optional<int> Wait(std::chrono::milliseconds timeout) {
    if (mExit) return mExit;
    std::optional<int> result;
    WaitFor(
        [&] {
          int status = 0;
          if (mPid > 0 && waitpid(mPid, &status, WNOHANG) == mPid) {
            result = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            mPid = -1;
          }
          return result.has_value();
        },
        timeout);
    if (result) mExit = result;
    return result;
  }

 private:
  pid_t mPid = -1;
  int mError = 0;
  std::optional<int> mExit;
};

// Xvfb on a display it picks itself.
class VirtualDisplay {
 public:
  explicit VirtualDisplay(const std::filesystem::path& folder) {
    int fds[2];
    if (pipe(fds) != 0) return;
    mServer.emplace(std::vector<std::string>{"Xvfb", "-displayfd", "3", "-screen", "0",
                                             "1920x1200x24", "-nolisten", "tcp"},
                    folder / "xvfb.log", std::vector<std::string>{}, fds[1]);
    close(fds[1]);
    if (!mServer->Started()) {
      close(fds[0]);
      return;
    }
    std::string number;
    char c = 0;
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    WaitFor(
        [&] {
          while (read(fds[0], &c, 1) == 1) {
            if (c == '\n') return true;
            number += c;
          }
          return false;
        },
        15s);
    close(fds[0]);
    if (!number.empty()) mDisplay = ":" + number;
  }
  const std::string& Name() const { return mDisplay; }
  bool Missing() const { return mServer && mServer->SpawnError() == ENOENT; }

 private:
  std::optional<Child> mServer;
  std::string mDisplay;
};

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
  ASSERT_TRUE(WaitFor([&] { return ReadText(simLog).find("ready") != std::string::npos; }, 20s))
      << ReadText(simLog);

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
