// Until the windowed shell exists, the program builds the editor headless and
// says plainly what it can and cannot do yet.
#include <cstdio>

#include "QD3Control.h"

int main() {
  qd3::QD3Control editor;
  std::printf(
      "QD3Control %s\n"
      "This build holds the editor core only: %d parameters, the SysEx codec and the\n"
      "live-edit mapping. The window, the MIDI ports and the pedal connection are not\n"
      "part of it yet, so there is nothing to show; the test suite exercises the core.\n",
      QD3_VERSION, editor.NParams());
  return 0;
}
