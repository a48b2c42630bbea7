#pragma once

// The command line of qd3ctl:
//
//   qd3ctl ports [--api alsa|jack]
//   qd3ctl wav2ir WAV OUT [--name NAME]
//   qd3ctl inspect [--json] FILE
//   qd3ctl diff [--in PORT --out PORT [--api alsa|jack]] A B     (A, B: files or slot:N)
//   qd3ctl get --in PORT --out PORT [--api alsa|jack] SLOT FILE.q3p
//   qd3ctl put --in PORT --out PORT [--api alsa|jack] [--yes] [--no-safety-backup] FILE.q3p SLOT
//   qd3ctl backup  --in PORT --out PORT [--api alsa|jack] FILE.q3b
//   qd3ctl restore --in PORT --out PORT [--api alsa|jack] [--yes] [--no-safety-backup] FILE.q3b
//   qd3ctl --help | --version
//
// Options may stand anywhere after the command; "--" ends them.

#include <array>
#include <optional>
#include <span>
#include <string>

namespace qd3::cli {

enum class Command {
  kHelp,
  kVersion,
  kPorts,
  kWav2Ir,
  kInspect,
  kDiff,
  kBackup,
  kRestore,
  kGet,
  kPut,
};

// A slot as the player numbers it: slot + "PATCH OFFSET", so 0..127 or 1..128 depending on
// the pedal; which of the two holds is known only once the pedal answered.
inline constexpr int kShownSlotMax = 128;
// diff's operand for a slot of the pedal: "slot:5".
inline constexpr char kSlotOperandPrefix[] = "slot:";

// The MIDI API as the host's transport takes it: 0 the platform's default (ALSA, with
// JACK when ALSA has no sequencer), 1 JACK (with ALSA when JACK has no server).
enum class ApiChoice : unsigned { kAlsa = 0, kJack = 1 };

struct CliArgs {
  Command command = Command::kHelp;
  ApiChoice api = ApiChoice::kAlsa;
  std::string inPort;   // the port the pedal sends on
  std::string outPort;  // the port the pedal listens on
  std::string file;     // inspect, backup, restore, get, put: the file;
                        // wav2ir: the WAV; diff: the first operand
  std::string out;      // wav2ir: the IR image to write; diff: the second operand
  int slot = 0;         // get, put: the slot as the player numbers it
  // diff: the slot each operand names with slot:N, as the player numbers it; empty for a file.
  std::array<std::optional<int>, 2> diffSlots;
  std::optional<std::string> name;  // wav2ir --name
  bool json = false;
  bool yes = false;
  bool noSafetyBackup = false;
};

struct ParseResult {
  std::optional<CliArgs> args;
  std::string error;  // one line for stderr when args is empty
};

// "0".."128" as a slot number; empty for anything else.
std::optional<int> ParseShownSlot(const std::string& text);

// Whether diff reads either operand from the pedal.
inline bool DiffReadsThePedal(const CliArgs& args) {
  return args.diffSlots[0] || args.diffSlots[1];
}

// `argv` without the program name.
ParseResult ParseCliArgs(std::span<const std::string> argv);

// The text --help prints.
const char* UsageText();

}  // namespace qd3::cli
