// qd3ctl: the librarian of the QD3 editor on the command line.
#include <unistd.h>

#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "host/RtMidiTransport.h"
#include "host/app/BaseFolder.h"

#ifndef QD3_VERSION
#define QD3_VERSION "unknown"
#endif

namespace {

using namespace qd3::cli;

bool AskOnTerminal(const std::string& question) {
  std::cerr << question << " [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "YES" || answer == "Yes";
}

std::tm LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

int RunSession(const CliArgs& args) {
  qd3::RtMidiTransport transport(static_cast<unsigned>(args.api));
  RealTimeTicks ticks;
  SessionContext context;
  context.transport = &transport;
  context.ticks = &ticks;
  context.terminal = isatty(STDERR_FILENO) == 1;
  if (isatty(STDIN_FILENO) == 1 && context.terminal) context.confirm = AskOnTerminal;
  context.localTime = LocalTimeNow;
  switch (args.command) {
    case Command::kBackup:
      return RunBackup(args, context, std::cout, std::cerr);
    case Command::kGet:
      return RunGet(args, context, std::cout, std::cerr);
    case Command::kDiff:
      return RunDiff(args, context, std::cout, std::cerr);
    default:
      break;
  }
  context.baseFolder = qd3::EditorBaseFolder();
  if (args.command == Command::kPut) return RunPut(args, context, std::cout, std::cerr);
  return RunRestore(args, context, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  const ParseResult parsed = ParseCliArgs(words);
  if (!parsed.args) {
    std::cerr << "qd3ctl: " << parsed.error << '\n';
    // A script reads diff's 1 as "different": its usage errors are trouble, 2.
    return !words.empty() && words[0] == "diff" ? kExitDiffTrouble : kExitUsage;
  }
  const CliArgs& args = *parsed.args;
  switch (args.command) {
    case Command::kHelp:
      std::cout << UsageText();
      return kExitOk;
    case Command::kVersion:
      std::cout << "qd3ctl " << QD3_VERSION << '\n';
      return kExitOk;
    case Command::kPorts: {
      qd3::RtMidiTransport transport(static_cast<unsigned>(args.api));
      return RunPorts(transport, std::cout, std::cerr);
    }
    case Command::kWav2Ir:
      return RunWav2Ir(args, std::cout, std::cerr);
    case Command::kInspect:
      return RunInspect(args, std::cout, std::cerr);
    case Command::kDiff:
      // Two files need no MIDI system.
      if (!DiffReadsThePedal(args)) return RunDiff(args, SessionContext{}, std::cout, std::cerr);
      return RunSession(args);
    case Command::kBackup:
    case Command::kRestore:
    case Command::kGet:
    case Command::kPut:
      return RunSession(args);
  }
  return kExitUsage;
}
