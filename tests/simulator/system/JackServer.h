#pragma once

#include <optional>
#include <string>

#include "tests/simulator/system/ChildProcess.h"

namespace qd3::sim::test {

// A JACK server of our own on the dummy driver, under a name no other test uses. The
// constructor points this process (and every child started later) at it through
// JACK_DEFAULT_SERVER and JACK_NO_START_SERVER and waits until jack_lsp answers.
class JackServer {
 public:
  JackServer();
  ~JackServer();
  JackServer(const JackServer&) = delete;
  JackServer& operator=(const JackServer&) = delete;

  bool Running() const { return mError.empty(); }
  // Why it is not running, with the server's own output where there is some.
  const std::string& Error() const { return mError; }
  const std::string& Name() const { return mName; }

 private:
  std::string mName;
  std::string mLogPath;
  std::optional<ChildProcess> mServer;
  std::string mError;
};

}  // namespace qd3::sim::test
