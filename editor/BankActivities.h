#pragma once

// The whole-bank activities: bank export and import, the factory preset update and the
// firmware update, each run by its transfer object on the device timer. Before the three
// that overwrite the pedal, a connected pedal's bank is first saved as a safety backup.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "editor/CacheKeeper.h"
#include "editor/EditorState.h"
#include "editor/Outbox.h"
#include "editor/PresetMirror.h"
#include "editor/ScreenWriter.h"
#include "presets/BankFile.h"
#include "presets/BankTransfers.h"
#include "protocol/FirmwareStream.h"
#include "protocol/TransferBuffer.h"

namespace qd3 {

// The extension of bank files.
inline constexpr char kBankExtension[] = "q3b";

class BankActivities {
 public:
  struct Needs {
    ScreenWriter& screen;
    Outbox& outbox;
    CacheKeeper& cache;
    DeviceSession& session;
    const ParamCatalogue& params;
    PresetMirror& mirror;
    FileChoices& files;
    TransferBuffer& transferBuffer;
  };
  explicit BankActivities(const Needs& needs);

  // "Export All Presets from QD3 ...", "Import All Presets to QD3...", "Factory Presets
  // Update...".
  void ExportBank();
  void ImportBank();
  // The import with `path` in place of the dialog's choice (a bank file dropped).
  void ImportBankFile(const std::string& path);
  void UpdateFactoryPresets();
  // "Firmware Update..." opens the firmware screen, its "X" closes it, and "UPDATE
  // FIRMWARE" starts the update.
  void OpenFirmwareUpdate();
  void CloseFirmwareUpdate();
  void StartFirmwareUpdate();
  bool FirmwareScreenShown() const;
  // The progress panel's Cancel (and Escape or "X" during a backup): a running export or
  // safety backup stops without a file, and what the backup was for does not happen.
  // False when none runs.
  bool CancelExport();

  // The device timer: what the pedal's last replies left to do (the reset's box, the
  // end of a restore), the watchdogs of the waits that have no tick of their own, and,
  // as the first links of its chain, the firmware stream and the bank transfers. True
  // when one of them took the tick.
  void AfterReplies();
  void ApplyWatchdogs();
  bool ServeTick();

  void SetPacing(TransferPacing pacing) { mTransfers.SetPacing(pacing); }
  // Whether a bank transfer, the firmware stream or a change waiting for its backup runs.
  bool Busy() const;
  bool FactoryWriteRunning() const { return mTransfers.Factory().Running(); }

  // The pedal's replies.
  // True when a bank export took the message. Its steps, the next request among them, are
  // served as the timer's are, so an export that ends here ends in the same words.
  bool OnPresetDump(std::span<const uint8_t> m);
  bool OnIrMessage(DeviceCommand command, std::span<const uint8_t> m);
  void OnWriteReply(DeviceCommand command);
  void OnResetDone();
  void OnLoaderReply(uint8_t command);
  // The pedal's checksum block after a bank import: compared with the imported bank.
  void VerifyRestore(std::span<const uint8_t, kChecksumBlockSize> pedalChecksums);

 private:
  enum class AfterBackup : uint8_t { kNothing, kImportBank, kFactoryUpdate, kFirmwareUpdate };
  void StartBankExport(std::filesystem::path target, AfterBackup then);
  // Without a chosen path the dialog asks for one.
  void ImportBankFrom(const std::optional<std::string>& chosen);
  void ServeBankExport(TransferStep step);
  const ProgressTarget& ExportProgress() const;
  // The import's steps, from the timer or a write reply; a stop names the safety backup.
  void ServeImportStep(TransferStep step);
  // The factory write's steps; a stop names the safety backup.
  void ServeFactoryStep(TransferStep step);
  bool SafetyBackupFirst(AfterBackup then);
  // The changes a safety backup protects, once the player said yes and the backup (if
  // one was made) is on disk; the note names it in their last message.
  void StartBankImport(const std::string& backupNote);
  void StartFactoryWrite(const std::string& backupNote);
  void StartFirmwareStream(const std::string& backupNote);
  void FinishRestore();
  static std::optional<std::vector<uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                           std::size_t limit);
  void ServeFirmware();
  // Says so when no pedal is connected.
  bool PedalConnected();
  // Not busy; otherwise the player is told so.
  bool Free();
  // What waited for a backup that failed or was cancelled does not happen.
  void DropPending();
  void LeaveFirmwareScreenAfterUpdate();
  // The loader's verdict, or its absence: the box, then back to the main screen.
  void EndFirmwareUpdate(const TransferStep& verdict);

  Needs mNeeds;
  BankTransfers mTransfers;
  FirmwareStream mFirmware;
  std::filesystem::path mBankExportPath;
  AfterBackup mAfterBackup = AfterBackup::kNothing;
  // The imported bank's record checksums, compared with the pedal's after reconnecting.
  std::optional<BankChecksums> mVerifyAgainst;
  std::string mImportBackupNote;  // where the safety backup of the running import went
  std::string mFactoryBackupNote;
  std::string mFirmwareBackupNote;
  // What waits for its safety backup.
  std::vector<uint8_t> mPendingImport;
  std::vector<uint8_t> mPendingFactory;
  std::vector<uint8_t> mPendingFirmware;
  bool mExportCancelled = false;
  // After a Cancel, the dump still owed for this slot is dropped when it comes, for up to
  // kLateDumpWaitTicks (the export's own wait).
  static constexpr int kLateDumpWaitTicks = 20;
  int mLateDumpSlot = -1;
  int mLateDumpTicks = 0;
  bool mPedalConnectedBeforeFirmware = false;
  bool mFirmwareBackupDone = false;
};

}  // namespace qd3
