#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qd3 {

struct AppOptions {
  // Connects the editor to the in-process simulated pedal instead of MIDI ports.
  bool demo = false;
};

// The command line without the program name: "--demo", "--help" / "-h",
// "--version" / "-V". Anything else gives an error text.
struct ParsedArgs {
  AppOptions options;
  bool help = false;
  bool version = false;
  std::string error;
};
ParsedArgs ParseAppArgs(const std::vector<std::string_view>& args);
const char* AppUsage();
// "qd3control " and the project's version, with a newline.
std::string AppVersionText();

// The demo pedal's memory between runs, in the base folder.
inline constexpr char kDemoStateFileName[] = "demo-pedal.qd3sim";

}  // namespace qd3
