#include "cli/CliArgs.h"

#include <vector>

namespace qd3::cli {
namespace {

struct CommandInfo {
  const char* word;
  Command command;
  std::size_t positionals;  // how many file arguments it takes
  bool takesPorts;          // --in, --out, --api
  bool takesApi;
};

constexpr CommandInfo kCommands[] = {
    {"ports", Command::kPorts, 0, false, true},      {"wav2ir", Command::kWav2Ir, 2, false, false},
    {"inspect", Command::kInspect, 1, false, false}, {"diff", Command::kDiff, 2, false, false},
    {"backup", Command::kBackup, 1, true, true},     {"restore", Command::kRestore, 1, true, true},
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

}  // namespace

const char* UsageText() {
  return "usage:\n"
         "  qd3ctl ports [--api alsa|jack]\n"
         "  qd3ctl wav2ir WAV OUT [--name NAME]\n"
         "  qd3ctl inspect [--json] FILE\n"
         "  qd3ctl diff A B          (two preset files or two bank files)\n"
         "  qd3ctl backup  --in PORT --out PORT [--api alsa|jack] FILE.q3b\n"
         "  qd3ctl restore --in PORT --out PORT [--api alsa|jack] [--yes] [--no-safety-backup] "
         "FILE.q3b\n"
         "  qd3ctl --help | --version\n"
         "\n"
         "PORT is a MIDI port name as 'qd3ctl ports' lists it; --in is the port the pedal\n"
         "sends on. Exit status: 0 success, 1 usage, 2 bad file, 3 pedal not reached or\n"
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
    } else if (a == "--in" && info->takesPorts) {
      if (!value(args.inPort)) return Error("--in needs a port name");
    } else if (a == "--out" && info->takesPorts) {
      if (!value(args.outPort)) return Error("--out needs a port name");
    } else if (a == "--name" && info->command == Command::kWav2Ir) {
      std::string name;
      if (!value(name)) return Error("--name needs a value");
      args.name = name;
    } else if (a == "--json" && info->command == Command::kInspect) {
      args.json = true;
    } else if (a == "--yes" && info->command == Command::kRestore) {
      args.yes = true;
    } else if (a == "--no-safety-backup" && info->command == Command::kRestore) {
      args.noSafetyBackup = true;
    } else {
      return Error("unknown option '" + a + "' for " + info->word);
    }
  }

  if (positionals.size() != info->positionals) {
    return Error(std::string(info->word) + " takes " + std::to_string(info->positionals) +
                 (info->positionals == 1 ? " file" : " files") + ", got " +
                 std::to_string(positionals.size()));
  }
  if (info->takesPorts && (args.inPort.empty() || args.outPort.empty())) {
    return Error(std::string(info->word) + " needs --in PORT and --out PORT");
  }
  if (!positionals.empty()) args.file = positionals[0];
  if (positionals.size() > 1) args.out = positionals[1];
  return ParseResult{args, {}};
}

}  // namespace qd3::cli
