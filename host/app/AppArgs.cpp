#include "host/app/AppArgs.h"

#include "host/app/Version.h"

namespace qd3 {

ParsedArgs ParseAppArgs(const std::vector<std::string_view>& args) {
  ParsedArgs parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--demo") {
      parsed.options.demo = true;
    } else if (arg == "--screenshot") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        parsed.error = "--screenshot needs a file name";
        return parsed;
      }
      parsed.options.screenshotPath = std::string(args[++i]);
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
  return "Usage: qd3control [--demo] [--screenshot PATH] [--help] [--version]\n"
         "  --demo         connect to a simulated QD3 pedal inside the editor (no pedal,\n"
         "                 sound card or MIDI ports needed); its memory is kept in\n"
         "                 demo-pedal.qd3sim in the editor's folder\n"
         "  --screenshot PATH\n"
         "                 write the editor's first complete frame (pedal connected,\n"
         "                 presets read) at scale 0.5 to the PNG file PATH and exit\n"
         "  -h, --help     show this text and exit\n"
         "  -V, --version  print the version and exit\n";
}

std::string AppVersionText() {
  return std::string("qd3control ") + kAppVersion + "\n";
}

}  // namespace qd3
