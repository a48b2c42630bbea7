#include "tests/simulator/system/JackServer.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace qd3::sim::test {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kStartTimeout = std::chrono::seconds(20);
constexpr auto kProbeTimeout = std::chrono::seconds(5);
constexpr auto kRetryInterval = std::chrono::milliseconds(50);

}  // namespace

JackServer::JackServer() {
  mName = "qd3-sim-test-" + std::to_string(getpid()) + "-" +
          std::to_string(Clock::now().time_since_epoch().count() % 1000000007);
  mLogPath = (std::filesystem::temp_directory_path() / (mName + ".log")).string();
  setenv("JACK_DEFAULT_SERVER", mName.c_str(), 1);
  setenv("JACK_NO_START_SERVER", "1", 1);

  std::string error;
  mServer = ChildProcess::Start(
      {"jackd", "--no-realtime", "-n", mName, "-d", "dummy", "-r", "48000", "-p", "512"}, mLogPath,
      false, error);
  if (!mServer) {
    mError = "cannot start jackd (" + error +
             "). This system test needs a JACK server with its dummy driver (Debian package "
             "jackd2); a missing server is a failure, not a skip.";
    return;
  }

  const auto deadline = Clock::now() + kStartTimeout;
  while (Clock::now() < deadline) {
    if (!mServer->Running()) {
      mError = "jackd exited during start-up:\n" + ReadTextFile(mLogPath);
      return;
    }
    auto probe = ChildProcess::Start({"jack_lsp"}, "/dev/null", false, error);
    if (!probe) {
      mError = "cannot run jack_lsp (" + error + "); it comes with jackd2.";
      return;
    }
    if (probe->Wait(kProbeTimeout) == 0) return;
    std::this_thread::sleep_for(kRetryInterval);
  }
  mError = "jackd did not answer jack_lsp in time:\n" + ReadTextFile(mLogPath);
}

JackServer::~JackServer() {
  mServer.reset();  // SIGTERM, then SIGKILL after a grace period
  std::error_code ignored;
  std::filesystem::remove(mLogPath, ignored);
}

}  // namespace qd3::sim::test
