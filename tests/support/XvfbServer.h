#pragma once

// Xvfb on a free display for the tests that open GTK windows: it writes the
// display number to a pipe once it accepts clients, and DISPLAY is pointed at
// it then. The server is stopped when the object goes.

#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace qd3::test {

class XvfbServer {
 public:
  XvfbServer() {
    int fds[2];
    if (pipe(fds) != 0) return;
    const pid_t pid = fork();
    if (pid == 0) {
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1200x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    char ch = 0;
    while (read(fds[0], &ch, 1) == 1 && ch != '\n') number += ch;
    close(fds[0]);
    if (number.empty()) {
      if (pid > 0) waitpid(pid, nullptr, 0);
      return;
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
    mPid = pid;
  }
  ~XvfbServer() {
    if (mPid <= 0) return;
    kill(mPid, SIGTERM);
    waitpid(mPid, nullptr, 0);
  }
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool Running() const { return mPid > 0; }

 private:
  pid_t mPid = -1;
};

}  // namespace qd3::test
