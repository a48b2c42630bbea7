#include "JackServer.h"

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
  name_ = "qd3-sim-test-" + std::to_string(getpid()) + "-" +
          std::to_string(Clock::now().time_since_epoch().count() % 1000000007);
  logPath_ = (std::filesystem::temp_directory_path() / (name_ + ".log")).string();
  setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
  setenv("JACK_NO_START_SERVER", "1", 1);

  std::string error;
  server_ = ChildProcess::Start(
      {"jackd", "--no-realtime", "-n", name_, "-d", "dummy", "-r", "48000", "-p", "512"}, logPath_,
      false, error);
  if (!server_) {
    error_ = "cannot start jackd (" + error +
             "). This system test needs a JACK server with its dummy driver (Debian package "
             "jackd2); a missing server is a failure, not a skip.";
    return;
  }

  const auto deadline = Clock::now() + kStartTimeout;
  while (Clock::now() < deadline) {
    if (!server_->Running()) {
      error_ = "jackd exited during start-up:\n" + ReadTextFile(logPath_);
      return;
    }
    auto probe = ChildProcess::Start({"jack_lsp"}, "/dev/null", false, error);
    if (!probe) {
      error_ = "cannot run jack_lsp (" + error + "); it comes with jackd2.";
      return;
    }
    if (probe->Wait(kProbeTimeout) == 0) return;
    std::this_thread::sleep_for(kRetryInterval);
  }
  error_ = "jackd did not answer jack_lsp in time:\n" + ReadTextFile(logPath_);
}

JackServer::~JackServer() {
  server_.reset();  // SIGTERM, then SIGKILL after a grace period
  std::error_code ignored;
  std::filesystem::remove(logPath_, ignored);
}

}  // namespace qd3::sim::test
