// qd3ctl backup: the editor's bank export into a file, written through a temporary
// file and a rename, so a failed run leaves no file (or the old one) behind.
#include <ostream>

#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/SessionDriver.h"
#include "cli/SessionSteps.h"

namespace qd3::cli {

int RunBackup(const CliArgs& args, const SessionContext& context, std::ostream& out,
              std::ostream& err) {
  SessionDriver driver(*context.transport, *context.ticks);
  if (const int code = OpenAndConnect(driver, args, err); code != kExitOk) return code;
  std::vector<uint8_t> bank;
  if (const int code = BackupInto(driver, args.file, context.terminal, bank, err);
      code != kExitOk) {
    return code;
  }
  out << "Backup of the pedal written to " << args.file << " (" << bank.size() << " bytes).\n";
  return kExitOk;
}

}  // namespace qd3::cli
