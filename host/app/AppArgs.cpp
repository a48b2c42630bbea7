#include "host/app/AppArgs.h"

#include "host/app/Version.h"

namespace qd3 {

ParsedArgs ParseAppArgs(const std::vector<std::string_view>& args) {
  ParsedArgs parsed;
  for (std::string_view arg : args) {
    if (arg == "--demo") {
      parsed.options.demo = true;
    } else if (arg == "--help" || arg == "-h") {
      parsed.help = true;
    } else if (arg == "--version" || arg == "-V") {
      parsed.version = true;
    } else {
      parsed.error = "unknown option: " + std::string(arg);
      return parsed;
    }
  }
  return parsed;
}

const char* AppUsage() {
  return "Usage: qd3control [--demo] [--help] [--version]\n"
         "  --demo         connect to a simulated QD3 pedal inside the editor (no pedal,\n"
         "                 sound card or MIDI ports needed); its memory is kept in\n"
         "                 demo-pedal.qd3sim in the editor's folder\n"
         "  -h, --help     show this text and exit\n"
         "  -V, --version  print the version and exit\n";
}

std::string AppVersionText() {
  return std::string("qd3control ") + kAppVersion + "\n";
}

}  // namespace qd3
