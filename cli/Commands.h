#pragma once

// The commands of qd3ctl. Each returns the exit status (ExitCodes.h) and writes only to
// the streams it is given, so the tests run them in-process.

#include <ctime>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>

#include "cli/CliArgs.h"
#include "cli/TickSource.h"
#include "protocol/IMidiTransport.h"

namespace qd3::cli {

int RunPorts(IMidiTransport& transport, std::ostream& out, std::ostream& err);
int RunWav2Ir(const CliArgs& args, std::ostream& out, std::ostream& err);
int RunInspect(const CliArgs& args, std::ostream& out, std::ostream& err);
// What the commands that talk to the pedal need of the world around them.
struct SessionContext {
  IMidiTransport* transport = nullptr;
  ITickSource* ticks = nullptr;
  bool terminal = false;  // stderr is a terminal: progress rewritten in place
  // Asks the player a yes/no question on the terminal, true for yes; empty when there
  // is no terminal to ask on.
  std::function<bool(const std::string& question)> confirm;
  std::filesystem::path baseFolder;    // where "Backups" goes (the editor's base folder)
  std::function<std::tm()> localTime;  // names the safety backup
};

// Without a slot:N operand the context is not used: two files need no MIDI.
int RunDiff(const CliArgs& args, const SessionContext& context, std::ostream& out,
            std::ostream& err);

int RunBackup(const CliArgs& args, const SessionContext& context, std::ostream& out,
              std::ostream& err);
int RunRestore(const CliArgs& args, const SessionContext& context, std::ostream& out,
               std::ostream& err);
int RunGet(const CliArgs& args, const SessionContext& context, std::ostream& out,
           std::ostream& err);
int RunPut(const CliArgs& args, const SessionContext& context, std::ostream& out,
           std::ostream& err);

}  // namespace qd3::cli
