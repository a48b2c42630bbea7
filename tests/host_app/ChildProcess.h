#pragma once

// Real processes for the application's system tests: a child with its output in
// a file (killed if still running when the object goes), and Xvfb on a display
// it picks itself.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace qd3::test {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
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

}  // namespace qd3::test
