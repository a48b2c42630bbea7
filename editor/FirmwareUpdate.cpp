// The firmware update: its screen, the file, the question and the safety backup before
// the image streams to the pedal's loader, and the loader's verdict.
#include <filesystem>

#include "editor/BankActivities.h"
#include "protocol/MessageBuilders.h"

namespace qd3 {

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
  // Escape or "X" during the safety backup stops it as its Cancel would: the pedal did
  // not stop answering, and nothing is updated.
  CancelExport();
  mPendingFirmware.clear();
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
  // The file, the question, the safety backup, the update: nothing is saved for an
  // update that is not wanted.
  IPlatformServices* platform = mNeeds.screen.Platform();
  if (!platform || !Free()) return;
  const std::string path = platform->PromptForOpenFile(kFirmwareFileExtension, "");
  if (path.empty()) return;
  // A file that does not open, or of 65,536 bytes or more, is ignored without a word.
  auto bytes = ReadWholeFile(path, kFirmwareFileSizeLimit - 1);
  if (!bytes) return;
  const std::string question = "Update the QD3's firmware with \"" +
                               std::filesystem::path(path).filename().string() +
                               "\"?\nDo not unplug the pedal until the update has finished.";
  if (!mNeeds.screen.Ask(question) || !Free()) return;
  mPendingFirmware = std::move(*bytes);
  if (mPedalConnectedBeforeFirmware && !mFirmwareBackupDone &&
      SafetyBackupFirst(AfterBackup::kFirmwareUpdate)) {
    return;
  }
  StartFirmwareStream("");
}

void BankActivities::StartFirmwareStream(const std::string& backupNote) {
  TransferStep step = mFirmware.Start(std::exchange(mPendingFirmware, {}));
  if (step.end == TransferEnd::kFailed) {
    // Refused before anything was sent: the backup is named now, not with a later verdict.
    if (!step.message.empty()) step.message += backupNote;
    mFirmwareBackupNote.clear();
  } else {
    mFirmwareBackupNote = backupNote;
  }
  mNeeds.outbox.Apply(step, kFirmwareProgress);
}

void BankActivities::ServeFirmware() {
  mNeeds.outbox.Apply(mFirmware.OnTick(), kFirmwareProgress);
}

void BankActivities::EndFirmwareUpdate(const TransferStep& verdict) {
  // A kLoaderDone no update waited for changes the session only.
  if (verdict.end == TransferEnd::kRunning) return;
  TransferStep said = verdict;
  // The verdict's box also says where the pedal's presets were saved before.
  if (!said.message.empty()) said.message += std::exchange(mFirmwareBackupNote, {});
  mNeeds.outbox.Apply(said, kFirmwareProgress);
  if (said.end == TransferEnd::kFinished) mNeeds.outbox.Post(said.message);
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
