#include "cli/SessionSteps.h"

#include <cstdio>

#include "cli/ExitCodes.h"
#include "cli/ProgressLine.h"
#include "presets/BankFile.h"

namespace qd3::cli {

int OpenAndConnect(SessionDriver& driver, const CliArgs& args, std::ostream& err) {
  const DriverOutcome opened = driver.OpenPorts(args.inPort, args.outPort);
  if (!opened.Ok()) {
    err << "qd3ctl: " << opened.message << '\n';
    return opened.exitCode;
  }
  const DriverOutcome connected = driver.Connect();
  if (!connected.Ok()) {
    err << "qd3ctl: " << connected.message << '\n';
    return connected.exitCode;
  }
  char line[96];
  std::snprintf(line, sizeof line, "Found QD3, firmware %.1f, serial %s\n",
                driver.FirmwareVersion() / 10.0, driver.Serial().c_str());
  err << line;
  return kExitOk;
}

int BackupInto(SessionDriver& driver, const std::filesystem::path& file, bool terminal,
               std::vector<uint8_t>& bank, std::ostream& err) {
  ProgressLine progress(err, terminal, "backup");
  const DriverOutcome done = driver.Backup(bank, [&](double f) { progress.Show(f); });
  progress.Done();
  if (!done.Ok()) {
    err << "qd3ctl: " << done.message << '\n';
    return done.exitCode;
  }
  const CacheWriteStatus written = SaveBankFile(file, bank);
  if (!Succeeded(written)) {
    err << "qd3ctl: " << file.string() << ": " << WriteFailureText(written, file) << '\n';
    return kExitBadFile;
  }
  return kExitOk;
}

}  // namespace qd3::cli
