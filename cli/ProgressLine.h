#pragma once

// Transfer progress on stderr: on a terminal one line "label: 42 %" rewritten in place;
// otherwise (a log, a pipe) a plain line at every tenth, so a log stays short.

#include <ostream>
#include <string>

namespace qd3::cli {

class ProgressLine {
 public:
  ProgressLine(std::ostream& err, bool terminal, std::string label);

  // `fraction` 0..1, shown as the whole-number percentage.
  void Show(double fraction);
  // Ends the line on a terminal.
  void Done();

 private:
  std::ostream& mErr;
  bool mTerminal;
  std::string mLabel;
  int mShown = -1;  // last percentage written
  bool mOpen = false;
};

}  // namespace qd3::cli
