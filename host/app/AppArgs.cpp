#include "host/app/AppArgs.h"

#include "host/app/Version.h"
#include "params/PageNumbers.h"

namespace qd3 {
namespace {

int PageNamed(std::string_view name) {
  struct Named {
    std::string_view name;
    int page;
  };
  constexpr Named kPages[] = {
      {"gate", kPageGate},
      {"ambience", kPageAmbience},
      {"ir", kPageIr},
      {"analog-sim", kPageAnalogSim},
      {"low", kPageLowFilter},
      {"mid", kPageMidFilter},
      {"high", kPageHighFilter},
      {"drive", kPageDrive},
      {"preamp", kPagePreamp},
      {"level", kPageLevel},
      {"auto-filter", kPageAutoFilter},
      {"settings", kScreenshotSettingsPage},
  };
  for (const Named& n : kPages) {
    if (n.name == name) return n.page;
  }
  return 0;
}

}  // namespace

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
    } else if (arg == "--page") {
      const int page = i + 1 < args.size() ? PageNamed(args[i + 1]) : 0;
      if (page == 0) {
        parsed.error =
            "--page needs a page name: drive, preamp, level, gate, ambience, ir, "
            "analog-sim, low, mid, high or auto-filter";
        return parsed;
      }
      parsed.options.screenshotPage = page;
      ++i;
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
  return "Usage: qd3control [--demo] [--screenshot PATH [--page NAME]] [--help] [--version]\n"
         "  --demo         connect to a simulated QD3 pedal inside the editor (no pedal,\n"
         "                 sound card or MIDI ports needed); its memory is kept in\n"
         "                 demo-pedal.qd3sim in the editor's folder\n"
         "  --screenshot PATH\n"
         "                 write the editor's first complete frame (pedal connected,\n"
         "                 presets read) at scale 0.5 to the PNG file PATH and exit\n"
         "  --page NAME    with --screenshot: show this detail page (drive, preamp,\n"
         "                 level, gate, ambience, ir, ...) in it\n"
         "  -h, --help     show this text and exit\n"
         "  -V, --version  print the version and exit\n";
}

std::string AppVersionText() {
  return std::string("qd3control ") + kAppVersion + "\n";
}

}  // namespace qd3
