// The whole-bank activities: bank export and import, the factory preset update and the
// firmware update, each run by its transfer object on the device timer. Before the
// three that overwrite the pedal, a connected pedal's bank is first saved as a safety
// backup, and the confirmation that follows says where.
#include <chrono>
#include <ctime>
#include <fstream>

#include "QD3Control.h"
#include "QD3ControlScreenNames.h"
#include "presets/BankFile.h"
#include "presets/SafetyBackup.h"
#include "resources/factory_bank/FactoryBank.h"

namespace qd3 {
namespace {

constexpr const char* kBankExtension = "q3b";
constexpr const char* kTextBackupSaved = "\n\nThe pedal's presets and IRs were saved first to\n";
constexpr const char* kTextBackupFailed =
    "The safety backup of the pedal's presets could not be made, so nothing was changed.\n";
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

// ---- bank export ----

void QD3Control::ExportBank() {
  if (!mPlatform) return;
  const std::string start = bankFilePath.empty() ? kBankFileDefaultName : bankFilePath;
  const std::string path = mPlatform->PromptForSaveFile(kBankExtension, start, start);
  if (path.empty()) return;
  bankFilePath = path;
  StartBankExport(path, AfterBackup::kNothing);
}

void QD3Control::StartBankExport(std::filesystem::path target, AfterBackup then) {
  mBankExportPath = std::move(target);
  mAfterBackup = then;
  mBankExport.Start();
}

void QD3Control::ServeBankExport() {
  TransferStep step = mBankExport.OnTick();
  // How the export ended is said below, once, in the words that fit what it was for.
  std::string problem = std::exchange(step.message, {});
  ApplyTransferStep(step);
  if (step.end == TransferEnd::kRunning) return;
  const AfterBackup then = std::exchange(mAfterBackup, AfterBackup::kNothing);
  bool saved = false;
  if (step.end == TransferEnd::kFinished) {
    const CacheWriteStatus written = SaveBankFile(mBankExportPath, mBankExport.FileBytes());
    saved = Succeeded(written);
    if (!saved) problem = WriteFailureText(written);
  }
  if (then == AfterBackup::kNothing) {
    // A plain export: the player learns how it ended (an abandoned one says nothing).
    if (!problem.empty() || saved) ShowBox(saved ? kTextFinished : problem);
    return;
  }
  if (!saved) {
    ShowBox(kTextBackupFailed + (problem.empty() ? std::string(kTextExportStalled) : problem));
    return;
  }
  const std::string note = kTextBackupSaved + mBankExportPath.string();
  switch (then) {
    case AfterBackup::kImportBank:
      ImportBankConfirmed(note);
      break;
    case AfterBackup::kFactoryUpdate:
      FactoryUpdateConfirmed(note);
      break;
    case AfterBackup::kFirmwareUpdate:
      mFirmwareBackupDone = true;
      FirmwareFileChosen(mBankExportPath.string());
      break;
    case AfterBackup::kNothing:
      break;
  }
}

bool QD3Control::SafetyBackupFirst(AfterBackup then) {
  if (!session.connected || !mCache) return false;
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  StartBankExport(SafetyBackupPath(mCache->BaseFolder(), local), then);
  return true;
}

// ---- bank import ----

void QD3Control::ImportBank() {
  if (!SafetyBackupFirst(AfterBackup::kImportBank)) ImportBankConfirmed("");
}

void QD3Control::ImportBankConfirmed(const std::string& backupNote) {
  if (!mPlatform) return;
  if (mPlatform->ShowMessageBox(kTextImportConfirm + backupNote, "", EMsgBoxType::OKCancel) !=
      EMsgBoxResult::OK) {
    return;
  }
  const std::string path = mPlatform->PromptForOpenFile(kBankExtension, bankFilePath);
  if (path.empty()) return;
  bankFilePath = path;
  const auto bytes = ReadWholeFile(path, BulkBuffer::Size());
  if (!bytes) {
    ShowBox(kTextBankUnreadable);
    return;
  }
  const TransferStep step = mBankImport.Start(*bytes);
  ApplyTransferStep(step);
  if (step.end == TransferEnd::kFailed) return;
  mVerifyAgainst = mBankImport.Checksums();
}

void QD3Control::HandleWriteReply(DeviceCommand command) {
  if (session.restoreActive) {
    TransferStep step = command == kCmdWriteAck    ? mBankImport.OnWriteAck()
                        : command == kCmdWriteNext ? mBankImport.OnWriteNext()
                                                   : mBankImport.OnWriteNak();
    if (step.end == TransferEnd::kFailed) mVerifyAgainst.reset();
    ApplyTransferStep(step);
    return;
  }
  const TransferStep step = command == kCmdWriteAck    ? mFactoryWrite.OnWriteAck()
                            : command == kCmdWriteNext ? mFactoryWrite.OnWriteNext()
                                                       : mFactoryWrite.OnWriteNak();
  // The pedal holds the factory presets now: the cache of the old ones goes first.
  if (step.end == TransferEnd::kFinished) DeleteCacheAndBuildList();
  ApplyTransferStep(step, kFactoryProgress);
}

void QD3Control::FinishRestore() {
  ShowGroup(kGroupProgress, false);
  if (IsWindowOpen()) ShowBox(kTextFinished);
  DeleteCacheAndBuildList();
  // The pedal's presets changed wholesale: find it again and resynchronise.
  session.connected = false;
  session.pollEnabled = true;
}

void QD3Control::VerifyRestore(std::span<const uint8_t, kChecksumBlockSize> pedalChecksums) {
  if (!mVerifyAgainst) return;
  ChecksumTable::Pairs pairs{};
  for (size_t slot = 0; slot < pairs.size(); ++slot) {
    pairs[slot] = {pedalChecksums[2 * slot], pedalChecksums[2 * slot + 1]};
  }
  const std::vector<int> differing = SlotsDifferingFromBank(*mVerifyAgainst, pairs);
  mVerifyAgainst.reset();
  PostMessage(RestoreVerificationText(differing, PatchOffset()));
}

// ---- factory presets ----

void QD3Control::UpdateFactoryPresets() {
  if (!SafetyBackupFirst(AfterBackup::kFactoryUpdate)) FactoryUpdateConfirmed("");
}

void QD3Control::FactoryUpdateConfirmed(const std::string& backupNote) {
  if (!mPlatform) return;
  if (mPlatform->ShowMessageBox(kTextFactoryConfirm + backupNote, kTextFactoryWarningCaption,
                                EMsgBoxType::OKCancel) != EMsgBoxResult::OK) {
    return;
  }
  const std::span<const uint8_t> resource = FactoryBankMessages();
  std::vector<uint8_t> bank(resource.begin(), resource.end());
  if (const auto question = FactoryBankVersionWarning(bank)) {
    if (mPlatform->ShowMessageBox(*question, kTextFactoryWarningCaption, EMsgBoxType::OKCancel) !=
        EMsgBoxResult::OK) {
      return;
    }
    SetFactoryBankVersion(bank);
  }
  const TransferStep step = mFactoryWrite.Start(bank);
  ApplyTransferStep(step, kFactoryProgress);
}

// ---- firmware ----

void QD3Control::StartFirmwareUpdate() {
  if (mPedalConnectedBeforeFirmware && !mFirmwareBackupDone &&
      SafetyBackupFirst(AfterBackup::kFirmwareUpdate)) {
    return;
  }
  FirmwareFileChosen("");
}

void QD3Control::FirmwareFileChosen(const std::string& backupPath) {
  if (!mPlatform) return;
  if (!backupPath.empty()) ShowBox(kTextFirmwareBackupMade + backupPath);
  const std::string path = mPlatform->PromptForOpenFile(kFirmwareFileExtension, "");
  if (path.empty()) return;
  // A file that does not open, or of 65,536 bytes or more, is ignored without a word.
  const auto bytes = ReadWholeFile(path, kFirmwareFileSizeLimit - 1);
  if (!bytes) return;
  const TransferStep step = mFirmware.Start(*bytes);
  ApplyTransferStep(step, kFirmwareProgress);
}

void QD3Control::ServeFirmware() {
  const TransferStep step = mFirmware.OnTick();
  ApplyTransferStep(step, kFirmwareProgress);
  if (step.end == TransferEnd::kRunning) return;
  // "Firmware update finished.": the screen goes once the player closed the box.
  if (step.end == TransferEnd::kFinished && !step.message.empty()) ShowBox(step.message);
  LeaveFirmwareScreenAfterUpdate();
}

void QD3Control::LeaveFirmwareScreenAfterUpdate() {
  ShowGroup(kGroupFirmware, false);
  ShowGroup(kGroupFirmwareBackground, false);
  ShowGroup(kGroupFirmwareUpdate, false);
  EnableGroup(kGroupMain, true);
  EnableGroup(kGroupNeedsPedal, false);
}

void QD3Control::ApplyWatchdogs() {
  ApplyTransferStep(mFactoryWrite.OnWatchTick(), kFactoryProgress);
  ApplyTransferStep(mFirmware.OnWatchTick(), kFirmwareProgress);
}

void QD3Control::ShowBox(const std::string& text) {
  if (IsWindowOpen() && mPlatform) mPlatform->ShowMessageBox(text, "", EMsgBoxType::OK);
}

void QD3Control::DeleteCacheAndBuildList() {
  if (!mCache) return;
  mCache->DeleteCachedDatFiles();
  const PresetList list = mCache->BuildListFromCache(PatchOffset());
  for (int slot = 0; slot < kPresetCount; ++slot) {
    SetRowLabel(slot, list.labels[static_cast<size_t>(slot)]);
  }
  checksums.SetPairs(list.checksums);
}

}  // namespace qd3
