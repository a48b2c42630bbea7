#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace qd3 {

// Sends what the process writes to stderr to /dev/null while it lives. RtMidi,
// RtAudio and libasound print screenfuls while they probe a machine without a
// sound card, ALSA sequencer or JACK server, before any error callback of ours
// can be installed; we report the one error that matters ourselves instead.
// For start-up on the UI thread only: other threads' output is hidden meanwhile.
class QuietStderr {
 public:
  QuietStderr() {
    std::fflush(stderr);
    mSaved = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (mSaved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) close(null);
  }
  ~QuietStderr() {
    std::fflush(stderr);
    if (mSaved < 0) return;
    dup2(mSaved, STDERR_FILENO);
    close(mSaved);
  }
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int mSaved = -1;
};

}  // namespace qd3
