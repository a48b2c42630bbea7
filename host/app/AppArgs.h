#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qd3 {

inline constexpr int kScreenshotSettingsPage = -1;

struct AppOptions {
  // Connects the editor to the in-process simulated pedal instead of MIDI ports.
  bool demo = false;
  // Writes the first complete frame (pedal connected, presets read, nothing left
  // to paint) to this PNG file at scale 0.5 and exits; empty: a normal run.
  std::string screenshotPath;
  // With a screenshot: the detail page shown in it (a kPage... number, or
  // kScreenshotSettingsPage for the global settings); 0 keeps the editor's own.
  int screenshotPage = 0;
};

// The command line without the program name: "--demo", "--screenshot PATH",
// "--page NAME" (drive, preamp, level, gate, ambience, ir, ...), "--help" / "-h",
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
