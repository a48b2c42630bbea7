// qd3ctl put: one preset file into one slot of the pedal, as the editor's import stores
// it, after a confirmation and a safety copy of the slot; then the pedal's checksum block
// tells whether the slot took the record.
#include <ostream>

#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/InspectKinds.h"
#include "cli/ProgressLine.h"
#include "cli/PutFile.h"
#include "cli/SessionSteps.h"
#include "cli/SlotSteps.h"
#include "presets/SlotLabels.h"

namespace qd3::cli {
namespace {

std::string ConfirmQuestion(const PresetFileData& file, const std::string& shown) {
  return "Store the preset file \"" + EscapedForTerminal(file.name) + "\" in preset " + shown +
         " of the QD3? The preset stored there now is replaced.";
}

int SafetyCopy(SessionDriver& driver, int slot, const SessionContext& context, std::ostream& err) {
  const std::string shown = SlotNumberText(slot, driver.PatchOffset());
  SlotAsFile before;
  int code = ReadSlotAsPresetFile(driver, slot, before, err);
  const auto path = SlotSafetyCopyPath(context.baseFolder, shown, context.localTime());
  if (code == kExitOk) code = WritePresetFileTo(path, before.bytes, err);
  if (code != kExitOk) {
    err << "qd3ctl: no safety copy of preset " << shown << ", so nothing was stored\n";
    return code;
  }
  err << "Safety copy of preset " << shown << " written to " << path.string() << '\n';
  return kExitOk;
}

int Upload(SessionDriver& driver, const PutPlan& plan, bool terminal, const std::string& shown,
           std::ostream& err) {
  for (std::size_t i = 0; i < plan.uploads.size(); ++i) {
    const PutUpload& upload = plan.uploads[i];
    ProgressLine progress(err, terminal, "user IR " + std::to_string(upload.target));
    const DriverOutcome sent = driver.UploadIr(upload.target, UploadImageOf(*upload.block),
                                               [&](double f) { progress.Show(f); });
    progress.Done();
    if (sent.Ok()) continue;
    err << "qd3ctl: user IR " << upload.target << " (position " << upload.position
        << "): " << sent.message << '\n';
    err << "qd3ctl: preset " << shown << " was not stored";
    // The safety copy holds the IRs the old preset played, which need not be this one.
    if (i > 0) err << "; user IR " << plan.uploads[0].target << " was already replaced";
    err << '\n';
    return sent.exitCode;
  }
  return kExitOk;
}

}  // namespace

int RunPut(const CliArgs& args, const SessionContext& context, std::ostream& out,
           std::ostream& err) {
  const std::optional<PresetFileData> file = ReadPutFile(args.file, err);
  if (!file) return kExitBadFile;
  const std::string asked = SlotNumberText(args.slot, 0);
  if (!args.yes) {
    if (!context.confirm) {
      err << "qd3ctl: put replaces preset " << asked << " on the pedal; without a terminal to "
          << "ask on, give --yes\n";
      return kExitUsage;
    }
    if (!context.confirm(ConfirmQuestion(*file, asked))) {
      err << "qd3ctl: put cancelled; nothing was sent\n";
      return kExitUsage;
    }
  }

  SessionDriver driver(*context.transport, *context.ticks);
  if (const int code = OpenAndConnect(driver, args, err); code != kExitOk) return code;
  const auto slot = SlotIndexOnPedal(driver, args.slot, err);
  if (!slot) return kExitUsage;
  if (!args.noSafetyBackup) {
    if (const int code = SafetyCopy(driver, *slot, context, err); code != kExitOk) return code;
  }

  const PutPlan plan = PlanPut(*file, *slot);
  if (const int code = Upload(driver, plan, context.terminal, asked, err); code != kExitOk) {
    return code;
  }
  driver.StoreRecord(*slot, plan.record);

  // The store has no answer of its own: the checksum block after a fresh handshake has.
  const DriverOutcome verified = driver.Connect();
  if (!verified.Ok()) {
    err << "qd3ctl: the preset was sent, but the check failed: " << verified.message << '\n';
    return verified.exitCode;
  }
  const Checksum14Pair onPedal = driver.PedalChecksums()[static_cast<std::size_t>(*slot)];
  const Checksum14Pair sent = plan.record.Checksum();
  if (onPedal != sent) {
    err << "qd3ctl: preset " << asked << " on the pedal has checksum " << onPedal.Value()
        << ", the record sent " << sent.Value()
        << ": the pedal did not store it (is its preset protection on?)\n";
    return kExitPedalFailed;
  }
  // A 14-bit sum can match by chance (the slot held another record with the same sum), so
  // the slot is read back as well.
  PresetRecord back;
  const DriverOutcome reread = driver.FetchRecord(*slot, back);
  if (!reread.Ok()) {
    err << "qd3ctl: the preset was sent, but reading it back failed: " << reread.message << '\n';
    return reread.exitCode;
  }
  if (back.Bytes() != plan.record.Bytes()) {
    err << "qd3ctl: preset " << asked << " on the pedal is not the record sent: the pedal did "
        << "not store it\n";
    return kExitPedalFailed;
  }
  out << "Preset file " << args.file << " stored in preset " << asked << " and verified.\n";
  return kExitOk;
}

}  // namespace qd3::cli
