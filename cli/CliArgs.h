#pragma once

// The command line of qd3ctl:
//
//   qd3ctl ports [--api alsa|jack]
//   qd3ctl wav2ir WAV OUT [--name NAME]
//   qd3ctl inspect [--json] FILE
//   qd3ctl diff A B
//   qd3ctl backup  --in PORT --out PORT [--api alsa|jack] FILE.q3b
//   qd3ctl restore --in PORT --out PORT [--api alsa|jack] [--yes] [--no-safety-backup] FILE.q3b
//   qd3ctl --help | --version
//
// Options may stand anywhere after the command; "--" ends them.

#include <optional>
#include <span>
#include <string>

namespace qd3::cli {

enum class Command { kHelp, kVersion, kPorts, kWav2Ir, kInspect, kDiff, kBackup, kRestore };

// The MIDI API as the host's transport takes it: 0 the platform's default (ALSA, with
// JACK when ALSA has no sequencer), 1 JACK (with ALSA when JACK has no server).
enum class ApiChoice : unsigned { kAlsa = 0, kJack = 1 };

struct CliArgs {
  Command command = Command::kHelp;
  ApiChoice api = ApiChoice::kAlsa;
  std::string inPort;               // the port the pedal sends on
  std::string outPort;              // the port the pedal listens on
  std::string file;                 // inspect, backup, restore: the file; wav2ir: the WAV;
                                    // diff: the first file
  std::string out;                  // wav2ir: the IR image to write; diff: the second file
  std::optional<std::string> name;  // wav2ir --name
  bool json = false;
  bool yes = false;
  bool noSafetyBackup = false;
};

struct ParseResult {
  std::optional<CliArgs> args;
  std::string error;  // one line for stderr when args is empty
};

// `argv` without the program name.
ParseResult ParseCliArgs(std::span<const std::string> argv);

// The text --help prints.
const char* UsageText();

}  // namespace qd3::cli
