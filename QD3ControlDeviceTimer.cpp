// The 100 ms device timer and the session transitions that the player starts:
// polling for a pedal, and one message per tick for every multi-message transfer.
#include "QD3Control.h"
#include "QD3ControlScreenNames.h"
#include "protocol/MessageBuilders.h"

namespace qd3 {
namespace {

// The poll leaves when the tick count exceeds this: every 33rd tick, 3.3 s.
constexpr int kPollTicks = 32;

}  // namespace

void QD3Control::OnDeviceTimer() {
  if (session.resetDoneSeen) {
    session.resetDoneSeen = false;
    if (IsWindowOpen() && mPlatform) {
      mPlatform->ShowMessageBox(kTextFinished, "", EMsgBoxType::OK);
    }
    SendDeviceMessage(BuildRequestBlock(kBlockGlobalSettings));
  } else if (session.restoreFinished) {
    session.restoreFinished = false;
    FinishRestore();
  }

  if (session.irRequestPending) {
    session.irRequestPending = false;
    RequestSelectedUserIr();
  }

  // The waits of the transfers that have no other tick while they wait for an answer.
  ApplyWatchdogs();

  // Exactly one of these per tick, in priority order.
  if (session.firmwareMode) {
    ServeFirmware();
    return;
  }
  if (session.factoryNext) {
    ApplyTransferStep(mFactoryWrite.OnTick(), kFactoryProgress);
    return;
  }
  if (session.restoreActive) {
    ApplyTransferStep(mBankImport.OnTick());
    return;
  }
  if (session.backupActive) {
    ServeBankExport();
    return;
  }
  if (!session.connected) {
    PollDevice();
    return;
  }
  ServeConnectedTransfers();
}

void QD3Control::PollDevice() {
  if (!session.pollEnabled) {
    session.pollTicks = 0;
    return;
  }
  if (++session.pollTicks > kPollTicks) {
    session.pollTicks = 0;
    SendDeviceMessage(BuildRequestBlock(kBlockDeviceInfo));
  }
}

void QD3Control::RequestSelectedUserIr() {
  if (session.userIrASelected) {
    RequestIr(session.userIrA);
  } else if (session.userIrBSelected) {
    RequestIr(session.userIrB);
  }
}

void QD3Control::ServeConnectedTransfers() {
  // The synchronisation's bracket and first request take the tick alone.
  if (mSync.Active() && session.readIndex == -1) {
    ApplyTransferStep(mSync.OnTick());
    return;
  }
  if (mSync.Active()) {
    const TransferStep step = mSync.OnTick();
    ApplyTransferStep(step);
    // The pedal stopped answering: look for it again, as the session's own give-up does.
    if (step.end == TransferEnd::kFailed) Reconnect();
  } else {
    ServeSessionWatch();
  }
  if (mIrUpload.Active()) ApplyTransferStep(mIrUpload.OnTick());
  ApplyIrFetchStep(mIrFetch.OnTick());
}

void QD3Control::WatchSessionRequest(std::span<const uint8_t> message) {
  // Live edits pass here too: look no further than the command byte for them.
  if (message.size() <= kCommandOffset) return;
  const uint8_t command = message[kCommandOffset];
  if (command != kCmdRequestBlock && command != kCmdRequestIrNames) return;
  const Bytes m(message.begin(), message.end());
  if (m == BuildRequestBlock(kBlockPresetChecksums)) {
    mSessionWatch.Sent(SessionRequest::kChecksums, m);
  } else if (m == BuildRequestBlock(kBlockGlobalSettings)) {
    mSessionWatch.Sent(SessionRequest::kGlobalSettings, m);
  } else if (m == BuildRequestBlock(kBlockControllerMap)) {
    mSessionWatch.Sent(SessionRequest::kControllerMap, m);
  } else if (m == BuildRequestBlock(kBlockProgramMap)) {
    mSessionWatch.Sent(SessionRequest::kProgramMap, m);
  } else if (m.size() > kCommandOffset && m[kCommandOffset] == kCmdRequestIrNames) {
    mSessionWatch.Sent(SessionRequest::kIrNames, m);
  }
}

void QD3Control::ServeSessionWatch() {
  const TransferStep step = mSessionWatch.OnTick();
  ApplyTransferStep(step);
  // The pedal is gone or deaf: look for it again, as RECONNECT does.
  if (step.end == TransferEnd::kFailed) Reconnect();
}

void QD3Control::Reconnect() {
  mSessionWatch.Clear();
  session.connected = false;
  session.pollEnabled = true;
  if (!IsWindowOpen()) return;
  SetControlText(kTagDeviceLine, "");
  SetControlText(kTagVersionLine, kTextConnecting);
  SetControlText(kTagSerialLine, "");
  EnableGroup(kGroupNeedsPedal, false);
  ShowGroup(kGroupProgress, false);
}

void QD3Control::EditorClosing() {
  if (session.connected) SendDeviceMessage(BuildEditorClosing());
}

void QD3Control::OpenFirmwareUpdate() {
  // Whether a pedal really answered decides about the safety backup before the update.
  mPedalConnectedBeforeFirmware = session.connected;
  mFirmwareBackupDone = false;
  // Forced "connected" silences the poll while the pedal runs its loader.
  session.connected = true;
  session.pollEnabled = false;
  ShowGroup(kGroupFirmwareBackground, true);
  ShowGroup(kGroupFirmwareUpdate, true);
  EnableGroup(kGroupFirmwareUpdate, true);
  EnableGroup(kGroupMain, false);
}

void QD3Control::CloseFirmwareUpdate() {
  session.connected = false;
  session.pollEnabled = true;
  ShowGroup(kGroupFirmwareBackground, false);
  ShowGroup(kGroupFirmwareUpdate, false);
  EnableGroup(kGroupMain, true);
}

}  // namespace qd3
