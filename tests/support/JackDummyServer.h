#pragma once

#include <sys/types.h>

#include <string>

namespace qd3::test {

// A private JACK server on the dummy driver (no sound card needed), started
// under a name of its own so that it never meets another server on the
// machine. The constructor points this process at it (JACK_DEFAULT_SERVER,
// JACK_NO_START_SERVER) and waits until jack_lsp answers; the destructor stops it.
class JackDummyServer {
 public:
  JackDummyServer();
  ~JackDummyServer();
  JackDummyServer(const JackDummyServer&) = delete;
  JackDummyServer& operator=(const JackDummyServer&) = delete;

  bool Running() const { return mError.empty(); }
  // Why the server is not running, with its own output where there is some.
  const std::string& Error() const { return mError; }
  const std::string& Name() const { return mName; }

 private:
  void Stop();

  std::string mName;
  std::string mLogPath;
  pid_t mPid = -1;
  std::string mError;
};

}  // namespace qd3::test
