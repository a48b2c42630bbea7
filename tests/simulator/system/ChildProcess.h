#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace qd3::sim::test {

// A program run by a system test. Its output goes to a log file; with `withStdin` the
// test can write to its standard input, otherwise it reads /dev/null. The child is killed
// when this object goes, and also when the test process dies (PR_SET_PDEATHSIG), so that
// no server or pedal outlives a crashed test.
class ChildProcess {
 public:
  // Starts args[0], looked up on PATH unless it holds a slash. Empty, with `error` set,
  // when it cannot be found or started.
  static std::optional<ChildProcess> Start(const std::vector<std::string>& args,
                                           const std::string& logPath, bool withStdin,
                                           std::string& error);

  ChildProcess(ChildProcess&& other) noexcept;
  // Stops the child this object held, then takes the other's.
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ~ChildProcess();

  bool Running();
  bool WriteStdin(const std::string& text);
  // Sends `signal`, waits up to `timeout`, then kills. The exit code when it exited by
  // itself, nothing when it had to be killed or died of a signal.
  std::optional<int> Stop(int signal, std::chrono::milliseconds timeout);
  // Waits up to `timeout` for it to exit by itself; its exit code, or nothing.
  std::optional<int> Wait(std::chrono::milliseconds timeout);
  pid_t Pid() const { return mPid; }

 private:
  ChildProcess(pid_t pid, int stdinFd) : mPid(pid), mStdinFd(stdinFd) {}
  void Reap(int status);

  pid_t mPid = -1;
  int mStdinFd = -1;
  std::optional<int> mExitCode;
};

// The whole text of a file, or "" when it cannot be read.
std::string ReadTextFile(const std::string& path);

}  // namespace qd3::sim::test
