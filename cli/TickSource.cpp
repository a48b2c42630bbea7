#include "cli/TickSource.h"

#include <thread>

namespace qd3::cli {
namespace {

// A 264-byte IR chunk takes about 5.5 ms on a USB-MIDI link; draining every 2 ms keeps
// the four-message SysEx queue from filling during a burst.
constexpr std::chrono::milliseconds kDrainStep{2};

}  // namespace

void RealTimeTicks::PassTick(const std::function<void()>& drain) {
  const auto now = std::chrono::steady_clock::now();
  if (mNext.time_since_epoch().count() == 0 || mNext < now - kTickLength) mNext = now;
  mNext += kTickLength;
  while (std::chrono::steady_clock::now() < mNext) {
    std::this_thread::sleep_for(kDrainStep);
    drain();
  }
  drain();
}

}  // namespace qd3::cli
