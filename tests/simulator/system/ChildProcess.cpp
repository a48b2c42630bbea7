#include "tests/simulator/system/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <utility>

extern char** environ;

namespace qd3::sim::test {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPollInterval = std::chrono::milliseconds(20);

std::string FindProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) return access(name.c_str(), X_OK) == 0 ? name : "";
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

}  // namespace

std::optional<ChildProcess> ChildProcess::Start(const std::vector<std::string>& args,
                                                const std::string& logPath, bool withStdin,
                                                std::string& error) {
  const std::string program = FindProgram(args.at(0));
  if (program.empty()) {
    error = args[0] + " was not found";
    return std::nullopt;
  }
  // Everything the child needs is prepared here: after fork it may only make system calls.
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  int pipeFds[2] = {-1, -1};
  if (log < 0 || (withStdin && pipe2(pipeFds, O_CLOEXEC) != 0)) {
    error = std::string("cannot prepare the child's files: ") + std::strerror(errno);
    if (log >= 0) close(log);
    return std::nullopt;
  }
  const int devNull = withStdin ? -1 : open("/dev/null", O_RDONLY | O_CLOEXEC);
  const pid_t parent = getpid();

  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);  // the test died before the line above
    dup2(withStdin ? pipeFds[0] : devNull, STDIN_FILENO);
    dup2(log, STDOUT_FILENO);
    dup2(log, STDERR_FILENO);
    execve(program.c_str(), argv.data(), environ);
    _exit(127);
  }
  close(log);
  if (devNull >= 0) close(devNull);
  if (withStdin) close(pipeFds[0]);
  if (pid < 0) {
    error = std::string("fork failed: ") + std::strerror(errno);
    if (withStdin) close(pipeFds[1]);
    return std::nullopt;
  }
  return ChildProcess(pid, withStdin ? pipeFds[1] : -1);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : mPid(other.mPid), mStdinFd(other.mStdinFd), mExitCode(other.mExitCode) {
  other.mPid = -1;
  other.mStdinFd = -1;
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Stop(SIGTERM, std::chrono::seconds(5));
    mPid = std::exchange(other.mPid, -1);
    mStdinFd = std::exchange(other.mStdinFd, -1);
    mExitCode = other.mExitCode;
  }
  return *this;
}

ChildProcess::~ChildProcess() {
  Stop(SIGTERM, std::chrono::seconds(5));
}

void ChildProcess::Reap(int status) {
  mPid = -1;
  if (mStdinFd >= 0) close(mStdinFd);
  mStdinFd = -1;
  if (WIFEXITED(status)) mExitCode = WEXITSTATUS(status);
}

bool ChildProcess::Running() {
  if (mPid < 0) return false;
  int status = 0;
  if (waitpid(mPid, &status, WNOHANG) == mPid) {
    Reap(status);
    return false;
  }
  return true;
}

bool ChildProcess::WriteStdin(const std::string& text) {
  if (mStdinFd < 0) return false;
  return write(mStdinFd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (Running()) {
    if (Clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(kPollInterval);
  }
  return mExitCode;
}

std::optional<int> ChildProcess::Stop(int signal, std::chrono::milliseconds timeout) {
  if (mPid < 0) return mExitCode;
  kill(mPid, signal);
  if (const auto code = Wait(timeout); code || mPid < 0) return code;
  kill(mPid, SIGKILL);
  int status = 0;
  waitpid(mPid, &status, 0);
  Reap(status);
  return std::nullopt;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace qd3::sim::test
