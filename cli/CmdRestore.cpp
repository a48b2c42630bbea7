// qd3ctl restore: the editor's bank import, after a confirmation and a safety backup,
// then a fresh handshake whose checksum block tells whether every slot took.
#include <ostream>

#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/ProgressLine.h"
#include "cli/SessionDriver.h"
#include "cli/SessionSteps.h"
#include "presets/BankFile.h"
#include "presets/BankImport.h"
#include "presets/CacheFileIo.h"
#include "presets/SafetyBackup.h"

namespace qd3::cli {
namespace {

// Reads and checks the bank before anything reaches the pedal.
int ReadBank(const std::string& file, std::vector<uint8_t>& bank, std::ostream& err) {
  if (!FileOpens(file)) {
    err << "qd3ctl: " << file << ": cannot be opened as a file\n";
    return kExitBadFile;
  }
  auto bytes = ReadFilePrefix(file, kBulkBufferSize + 1);
  if (!bytes) {
    err << "qd3ctl: " << file << ": cannot be read\n";
    return kExitBadFile;
  }
  if (bytes->size() > kBulkBufferSize) {
    err << "qd3ctl: " << file << ": " << kTextBankTooLarge << '\n';
    return kExitBadFile;
  }
  const BankFileCheck check = ValidateBankFile(*bytes);
  if (!check.Valid()) {
    err << "qd3ctl: " << file << ": not a bank file the pedal takes (byte " << check.offset
        << "): " << check.reason << '\n';
    return kExitBadFile;
  }
  bank = std::move(*bytes);
  return kExitOk;
}

// The editor's question, on one line.
std::string ConfirmQuestion() {
  std::string text = kTextImportConfirm;
  for (char& c : text) {
    if (c == '\n') c = ' ';
  }
  return text;
}

}  // namespace

int RunRestore(const CliArgs& args, const SessionContext& context, std::ostream& out,
               std::ostream& err) {
  std::vector<uint8_t> bank;
  if (const int code = ReadBank(args.file, bank, err); code != kExitOk) return code;
  if (!args.yes) {
    if (!context.confirm) {
      err << "qd3ctl: restore overwrites every preset on the pedal; without a terminal to "
             "ask on, give --yes\n";
      return kExitUsage;
    }
    if (!context.confirm(ConfirmQuestion())) {
      err << "qd3ctl: restore cancelled; nothing was sent\n";
      return kExitUsage;
    }
  }

  SessionDriver driver(*context.transport, *context.ticks);
  if (const int code = OpenAndConnect(driver, args, err); code != kExitOk) return code;

  if (!args.noSafetyBackup) {
    const std::filesystem::path safety = SafetyBackupPath(context.baseFolder, context.localTime());
    std::vector<uint8_t> before;
    if (const int code = BackupInto(driver, safety, context.terminal, before, err);
        code != kExitOk) {
      err << "qd3ctl: no safety backup, so nothing was restored\n";
      return code;
    }
    err << "Safety backup written to " << safety.string() << '\n';
  }

  ProgressLine progress(err, context.terminal, "restore");
  const DriverOutcome restored = driver.Restore(bank, [&](double f) { progress.Show(f); });
  progress.Done();
  if (!restored.Ok()) {
    err << "qd3ctl: " << restored.message << '\n';
    return restored.exitCode;
  }

  std::vector<int> differing;
  const DriverOutcome verified = driver.VerifyRestore(differing);
  if (!verified.Ok()) {
    err << "qd3ctl: the bank was sent, but the check failed: " << verified.message << '\n';
    return verified.exitCode;
  }
  out << RestoreVerificationText(differing, driver.PatchOffset(),
                                 PresetCountOf(BankRecordChecksums(bank)))
      << '\n';
  return differing.empty() ? kExitOk : kExitPedalFailed;
}

}  // namespace qd3::cli
