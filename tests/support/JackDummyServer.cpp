#include "tests/support/JackDummyServer.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace qd3::test {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kStartTimeout = std::chrono::seconds(15);
constexpr auto kStopTimeout = std::chrono::seconds(5);
constexpr auto kPollInterval = std::chrono::milliseconds(50);

// Starts a program found on PATH with stdout and stderr going to outputPath.
// Returns the pid, or -1 with errno_out set.
pid_t Spawn(const std::vector<std::string>& args, const std::string& outputPath, int& errorOut) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  pid_t pid = -1;
  errorOut = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return errorOut == 0 ? pid : -1;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string MissingProgramError(const std::string& program) {
  return program +
         " was not found on PATH. This system test needs a JACK server with its dummy driver "
         "(Debian package jackd2); it is a failure, not a skip.";
}

}  // namespace

JackDummyServer::JackDummyServer() {
  mName = "qd3-midi-test-" + std::to_string(getpid()) + "-" +
          std::to_string(Clock::now().time_since_epoch().count() % 1000000007);
  mLogPath = (std::filesystem::temp_directory_path() / (mName + ".log")).string();
  setenv("JACK_DEFAULT_SERVER", mName.c_str(), 1);
  setenv("JACK_NO_START_SERVER", "1", 1);

  int spawnError = 0;
  mPid = Spawn({"jackd", "--no-realtime", "-n", mName, "-d", "dummy", "-r", "48000", "-p", "512"},
               mLogPath, spawnError);
  if (mPid < 0) {
    mError = spawnError == ENOENT ? MissingProgramError("jackd")
                                  : std::string("cannot start jackd: ") + std::strerror(spawnError);
    return;
  }

  const auto deadline = Clock::now() + kStartTimeout;
  while (Clock::now() < deadline) {
    int status = 0;
    if (waitpid(mPid, &status, WNOHANG) == mPid) {
      mPid = -1;
      mError = "jackd exited during start-up:\n" + ReadFile(mLogPath);
      return;
    }
    const pid_t probe = Spawn({"jack_lsp"}, "/dev/null", spawnError);
    if (probe < 0) {
      mError = spawnError == ENOENT
                   ? MissingProgramError("jack_lsp")
                   : std::string("cannot run jack_lsp: ") + std::strerror(spawnError);
      Stop();
      return;
    }
    if (waitpid(probe, &status, 0) == probe && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
      return;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  mError = "jackd did not answer jack_lsp within the start timeout:\n" + ReadFile(mLogPath);
  Stop();
}

JackDummyServer::~JackDummyServer() {
  Stop();
  std::error_code ignored;
  std::filesystem::remove(mLogPath, ignored);
}

void JackDummyServer::Stop() {
  if (mPid < 0) return;
  kill(mPid, SIGTERM);
  const auto deadline = Clock::now() + kStopTimeout;
  int status = 0;
  while (Clock::now() < deadline) {
    if (waitpid(mPid, &status, WNOHANG) == mPid) {
      mPid = -1;
      return;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  kill(mPid, SIGKILL);
  waitpid(mPid, &status, 0);
  mPid = -1;
}

}  // namespace qd3::test
