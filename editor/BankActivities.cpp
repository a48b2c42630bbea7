#include "editor/BankActivities.h"

#include <chrono>
#include <ctime>
#include <fstream>

#include "presets/SafetyBackup.h"
#include "protocol/MessageBuilders.h"
#include "resources/factory_bank/FactoryBank.h"

namespace qd3 {
namespace {

constexpr const char* kTextBackupSaved = "\n\nThe pedal's presets and IRs were saved first to\n";
constexpr const char* kTextBackupFailed =
    "The safety backup of the pedal's presets could not be made, so nothing was changed.\n";
constexpr const char* kTextNoPedalYet =
    "The QD3 is not connected yet, so nothing was changed. Wait until the editor shows the "
    "pedal's serial number, then try again.";
constexpr const char* kTextBankUnreadable = "The bank file could not be read.";
constexpr const char* kTextExportCancelled = "Export cancelled; no file was written.";
constexpr const char* kTextTransferBusy =
    "Another transfer with the QD3 is running. Wait until it has finished, then try again.";
constexpr const char* kTextFirmwareBackupSaved =
    "\n\nBefore the firmware update, the pedal's presets and IRs were saved to\n";
constexpr const char* kTextBackupCancelled =
    "Safety backup cancelled; nothing was changed on the pedal.";

}  // namespace

std::optional<std::vector<uint8_t>> BankActivities::ReadWholeFile(const std::filesystem::path& path,
                                                                  std::size_t limit) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > limit) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    return std::nullopt;
  }
  return bytes;
}

BankActivities::BankActivities(const Needs& needs)
    : mNeeds(needs), mTransfers(needs.session), mFirmware(needs.session, needs.transferBuffer) {}

// ---- the device timer ----

void BankActivities::AfterReplies() {
  DeviceSession& session = mNeeds.session;
  if (session.resetDoneSeen) {
    session.resetDoneSeen = false;
    // The reset that ends a factory update is the update's end: its backup is named now.
    mNeeds.outbox.Post(kTextFinished + std::exchange(mFactoryBackupNote, {}));
    // The reset may have replaced every preset, and the list was cleared with the cache:
    // the checksums bring the synchronisation that reads them again, which ends with
    // the global settings as before.
    mNeeds.outbox.Send(BuildRequestBlock(kBlockPresetChecksums));
  } else if (session.restoreFinished) {
    session.restoreFinished = false;
    FinishRestore();
  }
}

void BankActivities::ApplyWatchdogs() {
  if (mLateDumpTicks > 0 && --mLateDumpTicks == 0) mLateDumpSlot = -1;
  ServeFactoryStep(mTransfers.Factory().OnWatchTick());
  // The loader's ready not coming leaves the screen as it is; its verdict not coming ends
  // the update as a verdict would.
  const bool verdictAwaited = mFirmware.AwaitingVerdict();
  const TransferStep firmware = mFirmware.OnWatchTick();
  if (verdictAwaited) {
    EndFirmwareUpdate(firmware);
  } else {
    mNeeds.outbox.Apply(firmware, kFirmwareProgress);
  }
}

bool BankActivities::ServeTick() {
  if (mNeeds.session.firmwareMode) {
    ServeFirmware();
    return true;
  }
  std::optional<RoutedStep> routed = mTransfers.OnTick();
  if (!routed) return false;
  switch (routed->kind) {
    case BankTransferKind::kFactoryWrite:
      ServeFactoryStep(std::move(routed->step));
      break;
    case BankTransferKind::kImport:
      ServeImportStep(std::move(routed->step));
      break;
    case BankTransferKind::kExport:
      ServeBankExport(std::move(routed->step));
      break;
  }
  return true;
}

// ---- replies ----

bool BankActivities::OnPresetDump(std::span<const uint8_t> m) {
  // The answer to the request a cancelled export left unanswered is nobody's: taken for
  // the current preset it would replace the edit buffer.
  if (mLateDumpSlot >= 0 && m.size() > kSelectorOffset && m[kSelectorOffset] == mLateDumpSlot) {
    mLateDumpSlot = -1;
    return true;
  }
  std::optional<TransferStep> step = mTransfers.OnPresetDump(m);
  if (!step) return false;
  ServeBankExport(std::move(*step));
  return true;
}

bool BankActivities::OnIrMessage(DeviceCommand command, std::span<const uint8_t> m) {
  std::optional<TransferStep> step = mTransfers.OnIrMessage(command, m);
  if (!step) return false;
  ServeBankExport(std::move(*step));
  return true;
}

void BankActivities::OnWriteReply(DeviceCommand command) {
  const RoutedStep routed = mTransfers.OnWriteReply(command);
  if (routed.kind == BankTransferKind::kImport) {
    // After a refusal there is nothing to verify; after a stall the check that follows
    // the reconnection says which slots the pedal took.
    if (routed.step.end == TransferEnd::kFailed) mVerifyAgainst.reset();
    ServeImportStep(routed.step);
    return;
  }
  // The pedal holds the factory presets now: the cache of the old ones goes first.
  if (routed.step.end == TransferEnd::kFinished) mNeeds.mirror.DeleteCacheAndBuildList();
  ServeFactoryStep(routed.step);
}

void BankActivities::ServeFactoryStep(TransferStep step) {
  if (step.end == TransferEnd::kFailed && !step.message.empty()) {
    step.message += std::exchange(mFactoryBackupNote, {});
  }
  mNeeds.outbox.Apply(step, kFactoryProgress);
}

void BankActivities::ServeImportStep(TransferStep step) {
  // The pedal may hold part of the file now: say where its presets as they were are kept.
  if (step.end == TransferEnd::kFailed && !step.message.empty()) step.message += mImportBackupNote;
  mNeeds.outbox.Apply(step, kImportProgress);
}

void BankActivities::OnResetDone() {
  mNeeds.session.resetDoneSeen = true;
  mTransfers.Factory().OnResetDone();
}

void BankActivities::VerifyRestore(std::span<const uint8_t, kChecksumBlockSize> pedalChecksums) {
  if (!mVerifyAgainst) return;
  const std::vector<int> differing =
      SlotsDifferingFromBank(*mVerifyAgainst, ChecksumPairsFromBlock(pedalChecksums));
  const int presetsInFile = PresetCountOf(*mVerifyAgainst);
  mVerifyAgainst.reset();
  mNeeds.outbox.Post(
      RestoreVerificationText(differing, PatchOffsetOf(mNeeds.params), presetsInFile) +
      std::exchange(mImportBackupNote, {}));
}

// ---- bank export and the safety backup ----

void BankActivities::DropPending() {
  mPendingImport.clear();
  mPendingFactory.clear();
  mPendingFirmware.clear();
}

bool BankActivities::Busy() const {
  const DeviceSession& session = mNeeds.session;
  return session.backupActive || session.restoreActive || session.firmwareMode ||
         mTransfers.Factory().Running() || !mPendingImport.empty() || !mPendingFactory.empty() ||
         !mPendingFirmware.empty();
}

bool BankActivities::Free() {
  // The question and file dialogs run the main loop: another command may have started a
  // transfer, or the pedal gone, while they were open. So this is asked again after them.
  if (Busy()) {
    mNeeds.screen.ShowBox(kTextTransferBusy);
    return false;
  }
  return true;
}

void BankActivities::ExportBank() {
  IPlatformServices* platform = mNeeds.screen.Platform();
  if (!platform || !Free()) return;
  std::string& remembered = mNeeds.files.bankFilePath;
  const std::string start = remembered.empty() ? kBankFileDefaultName : remembered;
  const std::string path = platform->PromptForSaveFile(kBankExtension, start, start);
  if (path.empty() || !Free()) return;
  remembered = path;
  StartBankExport(path, AfterBackup::kNothing);
}

void BankActivities::StartBankExport(std::filesystem::path target, AfterBackup then) {
  mBankExportPath = std::move(target);
  mAfterBackup = then;
  mTransfers.Export().Start();
}

void BankActivities::ServeBankExport(TransferStep step) {
  // How the export ended is said below, once, in the words that fit what it was for.
  std::string problem = std::exchange(step.message, {});
  mNeeds.outbox.Apply(step, ExportProgress());
  if (step.end == TransferEnd::kRunning) return;
  const AfterBackup then = std::exchange(mAfterBackup, AfterBackup::kNothing);
  Outbox& outbox = mNeeds.outbox;
  if (std::exchange(mExportCancelled, false)) {
    // The player's own choice, not a failure; what the backup was for does not happen.
    DropPending();
    outbox.Post(then == AfterBackup::kNothing ? kTextExportCancelled : kTextBackupCancelled);
    return;
  }
  bool saved = false;
  if (step.end == TransferEnd::kFinished) {
    const CacheWriteStatus written = SaveBankFile(mBankExportPath, mTransfers.Export().FileBytes());
    saved = Succeeded(written);
    if (!saved) problem = WriteFailureText(written, mBankExportPath);
  }
  if (then == AfterBackup::kNothing) {
    // A plain export: the player learns how it ended and where the file is (an abandoned
    // one says nothing).
    if (saved) {
      outbox.Post(std::string(kTextFinished) + "\n\nThe bank was saved to\n" +
                  mBankExportPath.string());
    } else if (!problem.empty()) {
      outbox.Post(problem);
    }
    return;
  }
  if (!saved) {
    DropPending();
    outbox.Post(kTextBackupFailed + (problem.empty() ? std::string(kTextExportStalled) : problem));
    return;
  }
  // The player was asked before the backup: the change it protects follows at once, and
  // its last message names the backup.
  const std::string note = kTextBackupSaved + mBankExportPath.string();
  switch (then) {
    case AfterBackup::kImportBank:
      StartBankImport(note);
      break;
    case AfterBackup::kFactoryUpdate:
      StartFactoryWrite(note);
      break;
    case AfterBackup::kFirmwareUpdate:
      mFirmwareBackupDone = true;
      StartFirmwareStream(kTextFirmwareBackupSaved + mBankExportPath.string());
      break;
    case AfterBackup::kNothing:
      break;
  }
}

const ProgressTarget& BankActivities::ExportProgress() const {
  switch (mAfterBackup) {
    case AfterBackup::kImportBank:
      return kBackupBeforeImportProgress;
    case AfterBackup::kFactoryUpdate:
      return kBackupBeforeFactoryProgress;
    case AfterBackup::kFirmwareUpdate:
      return kBackupBeforeFirmwareProgress;
    case AfterBackup::kNothing:
      break;
  }
  return kExportProgress;
}

bool BankActivities::CancelExport() {
  if (!mNeeds.session.backupActive) return false;
  mLateDumpSlot = mTransfers.Export().AwaitedSlot();
  mLateDumpTicks = kLateDumpWaitTicks;
  mExportCancelled = true;
  ServeBankExport(mTransfers.Export().Cancel());
  return true;
}

bool BankActivities::SafetyBackupFirst(AfterBackup then) {
  PresetCache* cache = mNeeds.cache.Get();
  if (!cache) return false;
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  StartBankExport(SafetyBackupPath(cache->BaseFolder(), local), then);
  return true;
}

// ---- bank import ----

bool BankActivities::PedalConnected() {
  // Without a pedal there is nothing to back up, and a change chosen now would reach the
  // pedal the moment it connects, unasked and without its backup.
  if (mNeeds.session.connected) return true;
  mNeeds.screen.ShowBox(kTextNoPedalYet);
  return false;
}

void BankActivities::ImportBank() {
  ImportBankFrom(std::nullopt);
}

void BankActivities::ImportBankFile(const std::string& path) {
  ImportBankFrom(path);
}

void BankActivities::ImportBankFrom(const std::optional<std::string>& chosen) {
  if (!PedalConnected() || !Free()) return;
  // The question, the file and its check come first: a backup is made only for an
  // import that will run.
  IPlatformServices* platform = mNeeds.screen.Platform();
  if (!platform || !mNeeds.screen.Ask(kTextImportConfirm)) return;
  std::string& remembered = mNeeds.files.bankFilePath;
  const std::string path =
      chosen ? *chosen : platform->PromptForOpenFile(kBankExtension, remembered);
  if (path.empty()) return;
  remembered = path;
  auto bytes = ReadWholeFile(path, BulkBuffer::Size());
  if (!bytes) {
    mNeeds.screen.ShowBox(kTextBankUnreadable);
    return;
  }
  if (const std::optional<std::string> refusal = BankImport::Refusal(*bytes)) {
    mNeeds.screen.ShowBox(*refusal);
    return;
  }
  if (!PedalConnected() || !Free()) return;
  mPendingImport = std::move(*bytes);
  if (!SafetyBackupFirst(AfterBackup::kImportBank)) StartBankImport("");
}

void BankActivities::StartBankImport(const std::string& backupNote) {
  const std::vector<uint8_t> bank = std::exchange(mPendingImport, {});
  const TransferStep step = mTransfers.Import().Start(bank);
  mNeeds.outbox.Apply(step, kImportProgress);
  if (step.end == TransferEnd::kFailed) return;
  mVerifyAgainst = mTransfers.Import().Checksums();
  mImportBackupNote = backupNote;
}

void BankActivities::FinishRestore() {
  mNeeds.screen.ShowGroup(group::kProgress, false);
  mNeeds.outbox.Post(kTextFinished);
  mNeeds.mirror.DeleteCacheAndBuildList();
  // The pedal's presets changed wholesale: find it again and resynchronise.
  mNeeds.session.connected = false;
  mNeeds.session.pollEnabled = true;
}

// ---- factory presets ----

void BankActivities::UpdateFactoryPresets() {
  if (!PedalConnected() || !Free()) return;
  const ScreenWriter& screen = mNeeds.screen;
  if (!screen.Platform() || !screen.Ask(kTextFactoryConfirm, kTextFactoryWarningCaption)) return;
  const std::span<const uint8_t> resource = FactoryBankMessages();
  std::vector<uint8_t> bank(resource.begin(), resource.end());
  if (const auto question = FactoryBankVersionWarning(bank)) {
    if (!screen.Ask(*question, kTextFactoryWarningCaption)) return;
    SetFactoryBankVersion(bank);
  }
  if (!PedalConnected() || !Free()) return;
  mPendingFactory = std::move(bank);
  if (!SafetyBackupFirst(AfterBackup::kFactoryUpdate)) StartFactoryWrite("");
}

void BankActivities::StartFactoryWrite(const std::string& backupNote) {
  mFactoryBackupNote = backupNote;
  ServeFactoryStep(mTransfers.Factory().Start(std::exchange(mPendingFactory, {})));
}

}  // namespace qd3
