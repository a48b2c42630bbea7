#include "cli/CliArgs.h"

#include <vector>

namespace qd3::cli {
namespace {

// Whether --in and --out are given: backup and restore always talk to the pedal, diff only
// for a slot:N operand.
enum class Ports : uint8_t { kNone, kRequired, kForSlots };

struct CommandInfo {
  const char* word;
  Command command;
  std::size_t positionals;  // how many operands it takes
  const char* operands;     // what they are, for the usage error
  Ports ports;              // --in, --out (with --api)
  bool takesApi;
  bool writesPedal;  // --yes, --no-safety-backup
};

constexpr CommandInfo kCommands[] = {
    {"ports", Command::kPorts, 0, "no files", Ports::kNone, true, false},
    {"wav2ir", Command::kWav2Ir, 2, "2 files", Ports::kNone, false, false},
    {"inspect", Command::kInspect, 1, "1 file", Ports::kNone, false, false},
    {"diff", Command::kDiff, 2, "2 files or slot:N", Ports::kForSlots, true, false},
    {"backup", Command::kBackup, 1, "1 file", Ports::kRequired, true, false},
    {"restore", Command::kRestore, 1, "1 file", Ports::kRequired, true, true},
    {"get", Command::kGet, 2, "SLOT FILE.q3p", Ports::kRequired, true, false},
    {"put", Command::kPut, 2, "FILE.q3p SLOT", Ports::kRequired, true, true},
};

ParseResult Error(std::string text) {
  return ParseResult{std::nullopt, std::move(text)};
}

const CommandInfo* FindCommand(const std::string& word) {
  for (const CommandInfo& info : kCommands) {
    if (word == info.word) return &info;
  }
  return nullptr;
}

// The operands in order: a slot where the command takes one, the files around it.
std::optional<std::string> TakeOperands(const CommandInfo& info,
                                        const std::vector<std::string>& positionals,
                                        CliArgs& args) {
  const auto slotOf = [](const std::string& text) -> std::optional<int> {
    return ParseShownSlot(text);
  };
  const auto slotError = [](const std::string& text) {
    return "SLOT must be a number 0.." + std::to_string(kShownSlotMax) +
           " as the pedal shows it, not '" + text + "'";
  };
  if (info.command == Command::kGet || info.command == Command::kPut) {
    const std::size_t slotAt = info.command == Command::kGet ? 0 : 1;
    const auto slot = slotOf(positionals[slotAt]);
    if (!slot) return slotError(positionals[slotAt]);
    args.slot = *slot;
    args.file = positionals[1 - slotAt];
    return std::nullopt;
  }
  if (!positionals.empty()) args.file = positionals[0];
  if (positionals.size() > 1) args.out = positionals[1];
  if (info.command != Command::kDiff) return std::nullopt;
  const std::string prefix = kSlotOperandPrefix;
  for (std::size_t i = 0; i < positionals.size(); ++i) {
    const std::string& operand = positionals[i];
    if (operand.rfind(prefix, 0) != 0) continue;
    const std::string number = operand.substr(prefix.size());
    const auto slot = slotOf(number);
    if (!slot) return slotError(number) + " (a file of that name: write ./" + operand + ")";
    args.diffSlots[i] = *slot;
  }
  return std::nullopt;
}

}  // namespace

std::optional<int> ParseShownSlot(const std::string& text) {
  // At most three digits: "0005" is refused rather than read as a number of any size.
  if (text.empty() || text.size() > 3) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > kShownSlotMax) return std::nullopt;
  return value;
}

const char* UsageText() {
  return "usage:\n"
         "  qd3ctl ports [--api alsa|jack]\n"
         "  qd3ctl wav2ir WAV OUT [--name NAME]\n"
         "  qd3ctl inspect [--json] FILE\n"
         "  qd3ctl diff [--in PORT --out PORT [--api alsa|jack]] A B\n"
         "                           (two preset files, two bank files, or slot:N of the pedal)\n"
         "  qd3ctl get --in PORT --out PORT [--api alsa|jack] SLOT FILE.q3p\n"
         "  qd3ctl put --in PORT --out PORT [--api alsa|jack] [--yes] [--no-safety-backup] "
         "FILE.q3p SLOT\n"
         "  qd3ctl backup  --in PORT --out PORT [--api alsa|jack] FILE.q3b\n"
         "  qd3ctl restore --in PORT --out PORT [--api alsa|jack] [--yes] [--no-safety-backup] "
         "FILE.q3b\n"
         "  qd3ctl --help | --version\n"
         "\n"
         "PORT is a MIDI port name as 'qd3ctl ports' lists it; --in is the port the pedal\n"
         "sends on. SLOT is the number the pedal shows: 0..127, or 1..128 with PATCH OFFSET\n"
         "1-128. Exit status: 0 success, 1 usage, 2 bad file, 3 pedal not reached or\n"
         "refused; diff, as diff(1): 0 equal, 1 different, 2 trouble.\n";
}

ParseResult ParseCliArgs(std::span<const std::string> argv) {
  if (argv.empty()) return Error("no command given (try --help)");
  CliArgs args;
  const std::string& first = argv[0];
  if (first == "--help" || first == "-h") {
    if (argv.size() > 1) return Error("--help takes no arguments");
    args.command = Command::kHelp;
    return ParseResult{args, {}};
  }
  if (first == "--version") {
    if (argv.size() > 1) return Error("--version takes no arguments");
    args.command = Command::kVersion;
    return ParseResult{args, {}};
  }
  const CommandInfo* info = FindCommand(first);
  if (info == nullptr) return Error("unknown command '" + first + "' (try --help)");
  args.command = info->command;

  std::vector<std::string> positionals;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
      positionals.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
      continue;
    }
    auto value = [&](std::string& into) -> bool {
      if (i + 1 >= argv.size()) return false;
      into = argv[++i];
      return true;
    };
    if (a == "--api" && info->takesApi) {
      std::string api;
      if (!value(api)) return Error("--api needs a value: alsa or jack");
      if (api == "alsa") {
        args.api = ApiChoice::kAlsa;
      } else if (api == "jack") {
        args.api = ApiChoice::kJack;
      } else {
        return Error("--api must be alsa or jack, not '" + api + "'");
      }
    } else if (a == "--in" && info->ports != Ports::kNone) {
      if (!value(args.inPort)) return Error("--in needs a port name");
    } else if (a == "--out" && info->ports != Ports::kNone) {
      if (!value(args.outPort)) return Error("--out needs a port name");
    } else if (a == "--name" && info->command == Command::kWav2Ir) {
      std::string name;
      if (!value(name)) return Error("--name needs a value");
      args.name = name;
    } else if (a == "--json" && info->command == Command::kInspect) {
      args.json = true;
    } else if (a == "--yes" && info->writesPedal) {
      args.yes = true;
    } else if (a == "--no-safety-backup" && info->writesPedal) {
      args.noSafetyBackup = true;
    } else {
      return Error("unknown option '" + a + "' for " + info->word);
    }
  }

  if (positionals.size() != info->positionals) {
    return Error(std::string(info->word) + " takes " + info->operands + ", got " +
                 std::to_string(positionals.size()));
  }
  if (const auto error = TakeOperands(*info, positionals, args)) return Error(*error);
  const bool needsPorts = info->ports == Ports::kRequired ||
                          (info->ports == Ports::kForSlots && DiffReadsThePedal(args));
  if (needsPorts && (args.inPort.empty() || args.outPort.empty())) {
    return Error(std::string(info->word) + (info->ports == Ports::kForSlots ? " of a slot:N" : "") +
                 " needs --in PORT and --out PORT");
  }
  return ParseResult{args, {}};
}

}  // namespace qd3::cli
