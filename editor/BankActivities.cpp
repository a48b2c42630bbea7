#include "editor/BankActivities.h"

#include <chrono>
#include <ctime>
#include <fstream>

#include "presets/SafetyBackup.h"
#include "protocol/MessageBuilders.h"
#include "resources/factory_bank/FactoryBank.h"

namespace qd3 {
namespace {

constexpr const char* kBankExtension = "q3b";
constexpr const char* kTextBackupSaved = "\n\nThe pedal's presets and IRs were saved first to\n";
constexpr const char* kTextBackupFailed =
    "The safety backup of the pedal's presets could not be made, so nothing was changed.\n";
constexpr const char* kTextNoPedalYet =
    "The QD3 is not connected yet, so nothing was changed. Wait until the editor shows the "
    "pedal's serial number, then try again.";
constexpr const char* kTextBankUnreadable = "The bank file could not be read.";
constexpr const char* kTextFirmwareBackupMade =
    "Before the firmware update, the pedal's presets and IRs were saved to\n";

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::filesystem::path& path,
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

}  // namespace

BankActivities::BankActivities(const Needs& needs)
    : mNeeds(needs), mTransfers(needs.session), mFirmware(needs.session, needs.transferBuffer) {}

// ---- the device timer ----

void BankActivities::AfterReplies() {
  DeviceSession& session = mNeeds.session;
  if (session.resetDoneSeen) {
    session.resetDoneSeen = false;
    mNeeds.outbox.Post(kTextFinished);
    mNeeds.outbox.Send(BuildRequestBlock(kBlockGlobalSettings));
  } else if (session.restoreFinished) {
    session.restoreFinished = false;
    FinishRestore();
  }
}

void BankActivities::ApplyWatchdogs() {
  mNeeds.outbox.Apply(mTransfers.Factory().OnWatchTick(), kFactoryProgress);
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
      mNeeds.outbox.Apply(routed->step, kFactoryProgress);
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
  mNeeds.outbox.Apply(routed.step, kFactoryProgress);
}

void BankActivities::ServeImportStep(TransferStep step) {
  // The pedal may hold part of the file now: say where its presets as they were are kept.
  if (step.end == TransferEnd::kFailed && !step.message.empty()) step.message += mImportBackupNote;
  mNeeds.outbox.Apply(step);
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
      RestoreVerificationText(differing, PatchOffsetOf(mNeeds.params), presetsInFile));
}

// ---- bank export and the safety backup ----

void BankActivities::ExportBank() {
  IPlatformServices* platform = mNeeds.screen.Platform();
  if (!platform) return;
  std::string& remembered = mNeeds.files.bankFilePath;
  const std::string start = remembered.empty() ? kBankFileDefaultName : remembered;
  const std::string path = platform->PromptForSaveFile(kBankExtension, start, start);
  if (path.empty()) return;
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
  mNeeds.outbox.Apply(step);
  if (step.end == TransferEnd::kRunning) return;
  const AfterBackup then = std::exchange(mAfterBackup, AfterBackup::kNothing);
  bool saved = false;
  if (step.end == TransferEnd::kFinished) {
    const CacheWriteStatus written = SaveBankFile(mBankExportPath, mTransfers.Export().FileBytes());
    saved = Succeeded(written);
    if (!saved) problem = WriteFailureText(written, mBankExportPath);
  }
  Outbox& outbox = mNeeds.outbox;
  if (then == AfterBackup::kNothing) {
    // A plain export: the player learns how it ended (an abandoned one says nothing).
    if (!problem.empty() || saved) outbox.Post(saved ? kTextFinished : problem);
    return;
  }
  if (!saved) {
    outbox.Post(kTextBackupFailed + (problem.empty() ? std::string(kTextExportStalled) : problem));
    return;
  }
  // The question that follows the backup is asked from the idle tick, like every box.
  const std::string note = kTextBackupSaved + mBankExportPath.string();
  switch (then) {
    case AfterBackup::kImportBank:
      outbox.Later([this, note] { ImportBankConfirmed(note); });
      break;
    case AfterBackup::kFactoryUpdate:
      outbox.Later([this, note] { FactoryUpdateConfirmed(note); });
      break;
    case AfterBackup::kFirmwareUpdate:
      mFirmwareBackupDone = true;
      outbox.Later([this, path = mBankExportPath.string()] { FirmwareFileChosen(path); });
      break;
    case AfterBackup::kNothing:
      break;
  }
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
  if (!PedalConnected()) return;
  if (!SafetyBackupFirst(AfterBackup::kImportBank)) ImportBankConfirmed("");
}

void BankActivities::ImportBankConfirmed(const std::string& backupNote) {
  IPlatformServices* platform = mNeeds.screen.Platform();
  if (!platform || !mNeeds.screen.Ask(kTextImportConfirm + backupNote)) return;
  std::string& remembered = mNeeds.files.bankFilePath;
  const std::string path = platform->PromptForOpenFile(kBankExtension, remembered);
  if (path.empty()) return;
  remembered = path;
  const auto bytes = ReadWholeFile(path, BulkBuffer::Size());
  if (!bytes) {
    mNeeds.screen.ShowBox(kTextBankUnreadable);
    return;
  }
  const TransferStep step = mTransfers.Import().Start(*bytes);
  mNeeds.outbox.Apply(step);
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
  if (!PedalConnected()) return;
  if (!SafetyBackupFirst(AfterBackup::kFactoryUpdate)) FactoryUpdateConfirmed("");
}

void BankActivities::FactoryUpdateConfirmed(const std::string& backupNote) {
  const ScreenWriter& screen = mNeeds.screen;
  if (!screen.Platform() ||
      !screen.Ask(kTextFactoryConfirm + backupNote, kTextFactoryWarningCaption)) {
    return;
  }
  const std::span<const uint8_t> resource = FactoryBankMessages();
  std::vector<uint8_t> bank(resource.begin(), resource.end());
  if (const auto question = FactoryBankVersionWarning(bank)) {
    if (!screen.Ask(*question, kTextFactoryWarningCaption)) return;
    SetFactoryBankVersion(bank);
  }
  mNeeds.outbox.Apply(mTransfers.Factory().Start(bank), kFactoryProgress);
}

// ---- firmware ----

void BankActivities::OpenFirmwareUpdate() {
  DeviceSession& session = mNeeds.session;
  // Whether a pedal really answered decides about the safety backup before the update.
  mPedalConnectedBeforeFirmware = session.connected;
  mFirmwareBackupDone = false;
  // Forced "connected" silences the poll while the pedal runs its loader.
  session.connected = true;
  session.pollEnabled = false;
  ScreenWriter& screen = mNeeds.screen;
  screen.ShowGroup(group::kFirmwareBackground, true);
  screen.ShowGroup(group::kFirmwareUpdate, true);
  screen.EnableGroup(group::kFirmwareUpdate, true);
  screen.EnableGroup(group::kMain, false);
}

void BankActivities::CloseFirmwareUpdate() {
  mNeeds.session.connected = false;
  mNeeds.session.pollEnabled = true;
  ScreenWriter& screen = mNeeds.screen;
  screen.ShowGroup(group::kFirmwareBackground, false);
  screen.ShowGroup(group::kFirmwareUpdate, false);
  screen.EnableGroup(group::kMain, true);
}

bool BankActivities::FirmwareScreenShown() const {
  return mNeeds.screen.IsShown(kTagFirmwareBackground);
}

void BankActivities::StartFirmwareUpdate() {
  if (mPedalConnectedBeforeFirmware && !mFirmwareBackupDone &&
      SafetyBackupFirst(AfterBackup::kFirmwareUpdate)) {
    return;
  }
  FirmwareFileChosen("");
}

void BankActivities::FirmwareFileChosen(const std::string& backupPath) {
  IPlatformServices* platform = mNeeds.screen.Platform();
  if (!platform) return;
  if (!backupPath.empty()) mNeeds.screen.ShowBox(kTextFirmwareBackupMade + backupPath);
  const std::string path = platform->PromptForOpenFile(kFirmwareFileExtension, "");
  if (path.empty()) return;
  // A file that does not open, or of 65,536 bytes or more, is ignored without a word.
  const auto bytes = ReadWholeFile(path, kFirmwareFileSizeLimit - 1);
  if (!bytes) return;
  mNeeds.outbox.Apply(mFirmware.Start(*bytes), kFirmwareProgress);
}

void BankActivities::ServeFirmware() {
  mNeeds.outbox.Apply(mFirmware.OnTick(), kFirmwareProgress);
}

void BankActivities::EndFirmwareUpdate(const TransferStep& verdict) {
  // A kLoaderDone no update waited for changes the session only.
  if (verdict.end == TransferEnd::kRunning) return;
  mNeeds.outbox.Apply(verdict, kFirmwareProgress);
  if (verdict.end == TransferEnd::kFinished) mNeeds.outbox.Post(verdict.message);
  // "Firmware update finished.", "Error in update!": the screen goes once the box closed.
  mNeeds.outbox.Later([this] { LeaveFirmwareScreenAfterUpdate(); });
}

void BankActivities::OnLoaderReply(uint8_t command) {
  switch (command) {
    case kLoaderReady: {
      const TransferStep step = mFirmware.OnLoaderReady();
      if (step.overlay != ProgressOverlay::kShow) break;  // not awaited: nothing streams
      mNeeds.outbox.Apply(step, kFirmwareProgress);
      mNeeds.screen.ShowGroup(group::kFirmware, true);
      mNeeds.screen.EnableGroup(group::kFirmwareUpdate, false);
      break;
    }
    case kLoaderDone:
      EndFirmwareUpdate(mFirmware.OnLoaderDone());
      break;
    case kLoaderFailed:
      EndFirmwareUpdate(mFirmware.OnLoaderFailed());
      break;
    default:
      break;
  }
}

void BankActivities::LeaveFirmwareScreenAfterUpdate() {
  ScreenWriter& screen = mNeeds.screen;
  screen.ShowGroup(group::kFirmware, false);
  screen.ShowGroup(group::kFirmwareBackground, false);
  screen.ShowGroup(group::kFirmwareUpdate, false);
  screen.EnableGroup(group::kMain, true);
  screen.EnableGroup(group::kNeedsPedal, false);
}

}  // namespace qd3
