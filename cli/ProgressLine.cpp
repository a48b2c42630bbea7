#include "cli/ProgressLine.h"

#include <algorithm>

namespace qd3::cli {
namespace {

constexpr int kPercent = 100;
constexpr int kPlainStep = 10;

}  // namespace

ProgressLine::ProgressLine(std::ostream& err, bool terminal, std::string label)
    : mErr(err), mTerminal(terminal), mLabel(std::move(label)) {}

void ProgressLine::Show(double fraction) {
  const int percent = std::clamp(static_cast<int>(fraction * kPercent), 0, kPercent);
  if (percent == mShown) return;
  if (mTerminal) {
    mErr << '\r' << mLabel << ": " << percent << " %" << std::flush;
    mOpen = true;
    mShown = percent;
    return;
  }
  // Plain lines: the first one, each new tenth, and the end.
  if (mShown >= 0 && percent / kPlainStep == mShown / kPlainStep && percent != kPercent) return;
  mErr << mLabel << ": " << percent << " %\n" << std::flush;
  mShown = percent;
}

void ProgressLine::Done() {
  if (mOpen) mErr << '\n' << std::flush;
  mOpen = false;
}

}  // namespace qd3::cli
