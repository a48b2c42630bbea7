// Everything the pedal sends arrives here, one whole message at a time and in
// arrival order. Messages that match nothing, fail their checksum or come in the
// wrong state are dropped without a word.
#include <cstdio>

#include "QD3Control.h"
#include "QD3ControlScreenNames.h"
#include "protocol/Checksum14.h"
#include "protocol/MessageBuilders.h"
#include "protocol/MessageMatch.h"
#include "settings/GlobalSettingsBlock.h"
#include "settings/MidiMapBlocks.h"

namespace qd3 {
namespace {

// A global-settings block seen before the pedal is connected carries these three at
// message bytes 19..21 (d11..d13).
constexpr int kGlobalSoftClipByte = 19;
constexpr int kFirstHardwareParam = 33;  // "Soft Clipping", "AnalogSim Gain", "Anti-aliasing"

// Firmware version byte of the device-info reply, in tenths: whole versions below
// 1 ask for a pedal update, above 11 for an editor update.
constexpr int kSupportedVersion = 11;
constexpr int kNewestWholeVersion = 11;

bool IsModel(std::span<const uint8_t> m, uint8_t model) {
  return ReadModel(m) == model;
}

}  // namespace

void QD3Control::HandleDeviceMessage(const uint8_t* bytes, size_t length) {
  if (bytes == nullptr) return;
  const std::span<const uint8_t> m(bytes, length);
  if (length == kRecordMessageSize) {
    HandleRecordMessage(m);
  } else if (length > kStatusMaxSize) {
    HandleLongMessage(m);
  } else {
    HandleShortMessage(m);
  }
}

void QD3Control::HandleRecordMessage(std::span<const uint8_t> m) {
  const auto command = MatchFromDevice(m);
  if (command == kCmdPresetDump) {
    if (session.connected) HandlePresetDump(m);
  } else if (command == kCmdDataBlock) {
    if (session.connected) {
      HandleDataBlockConnected(m);
    } else {
      HandleDataBlockUnconnected(m);
    }
  } else if (command == kCmdIrNames) {
    if (session.connected) HandleIrNames(m);
  }
}

void QD3Control::HandleLongMessage(std::span<const uint8_t> m) {
  // A 42-byte message is only ever an IR name, never a short IR end chunk, except
  // while the loader runs.
  if (m.size() == kIrNameMessageSize && !session.firmwareMode) {
    if (MatchFromDevice(m) == kCmdIrName) {
      if (const auto name = ReadName32(m, kIrNameOffset)) SetControlText(kTagIrNameField, *name);
    }
    return;
  }
  if (!IsModel(m, kModelDevice) || !session.connected) return;
  HandleIrTransfer(m);
}

void QD3Control::HandleShortMessage(std::span<const uint8_t> m) {
  if (IsModel(m, kModelLoader)) {
    if (const auto reply = MatchLoaderFromDevice(m)) HandleLoaderReply(*reply);
    return;
  }
  const auto command = MatchFromDevice(m);
  if (!command) return;
  if (*command == kCmdParamEcho) {
    HandleParamEcho(m);
  } else {
    HandleDeviceStatus(*command);
  }
}

void QD3Control::HandleDataBlockUnconnected(std::span<const uint8_t> m) {
  const int version = *ReadVersion(m);
  const int type = m[kSelectorOffset];
  char versionText[32];
  std::snprintf(versionText, sizeof versionText, kTextVersionLine, version / 10.0);
  SetControlText(kTagDeviceLine, kTextDeviceLine);
  SetControlText(kTagVersionLine, versionText);
  EnableGroup(kGroupNeedsPedal, true);

  const int wholeVersion = version / 10;
  if (wholeVersion < 1) {
    char text[64];
    std::snprintf(text, sizeof text, kTextUpgradePedal, kSupportedVersion);
    PostMessage(text);
    return;
  }
  if (wholeVersion > kNewestWholeVersion) {
    PostMessage(kTextUpgradeEditor);
    return;
  }
  if (!VerifyRecordChecksum(m)) return;

  if (type == kBlockDeviceInfo) {
    session.connected = true;
    mSessionWatch.Clear();
    // Printed as a C string: a NUL inside the 32 characters ends the serial.
    const auto serial = ReadName32Field(m, kSerialOffset);
    std::string text = kTextSerialLine;
    for (uint8_t c : *serial) {
      if (c == 0) break;
      text.push_back(static_cast<char>(c));
    }
    SetControlText(kTagSerialLine, text);
    SendDeviceMessage(BuildRequestBlock(kBlockPresetChecksums));
  } else if (type == kBlockGlobalSettings) {
    for (int i = 0; i < 3; ++i) {
      SetParameterFromBlock(kFirstHardwareParam + i, m[kGlobalSoftClipByte + i]);
    }
  }
}

void QD3Control::HandleDataBlockConnected(std::span<const uint8_t> m) {
  if (!VerifyRecordChecksum(m)) return;
  switch (m[kSelectorOffset]) {
    case kBlockGlobalSettings:
      mSessionWatch.Answered(SessionRequest::kGlobalSettings);
      ApplyGlobalSettingsBlock(m);
      break;
    case kBlockControllerMap:
      mSessionWatch.Answered(SessionRequest::kControllerMap);
      ApplyControllerMapBlock(m);
      break;
    case kBlockProgramMap:
      mSessionWatch.Answered(SessionRequest::kProgramMap);
      ApplyProgramMapBlock(m);
      break;
    case kBlockPresetChecksums:
      mSessionWatch.Answered(SessionRequest::kChecksums);
      HandlePresetChecksums(m);
      break;
    default:
      break;
  }
}

void QD3Control::ApplyGlobalSettingsBlock(std::span<const uint8_t> m) {
  const auto data = ReadRecordData(m);
  if (!data) return;
  const ReceivedGlobalSettings received = DecodeGlobalSettings(*data);
  session.applyingDeviceValues = true;
  for (const auto& value : received.values) SetParameterFromBlock(value.param, value.raw);
  session.applyingDeviceValues = false;
  // The pedal's current preset goes into the edit buffer.
  SendDeviceMessage(BuildBulkEnd());
  const Bytes request = BuildRequestPreset(received.currentPreset);
  SendDeviceMessage(request);
  mSessionWatch.Sent(SessionRequest::kCurrentPreset, request);
}

void QD3Control::ApplyControllerMapBlock(std::span<const uint8_t> m) {
  const auto data = ReadRecordData(m);
  if (!data) return;
  const KnobControllers controllers = DecodeControllerMap(*data);
  for (size_t k = 0; k < controllers.size(); ++k) {
    SetParameterFromBlock(kFirstKnobControllerParam + static_cast<int>(k), controllers[k]);
  }
}

void QD3Control::ApplyProgramMapBlock(std::span<const uint8_t> m) {
  const auto data = ReadRecordData(m);
  if (!data) return;
  programMap = DecodeProgramMap(*data);
  // The second box follows the map whether or not a window shows it.
  SetParameterValue(
      kParamDeviceProgram,
      programMap[static_cast<size_t>(mParams[kParamControllerProgram].Raw())] / 127.0);
}

void QD3Control::SetParameterFromBlock(int index, int raw) {
  // Blocks carry raw values normalized against the maximum alone.
  SetParameterValue(index, raw / mParams[index].Info().max);
}

void QD3Control::HandleParamEcho(std::span<const uint8_t> m) {
  const auto echo = ReadParamEcho(m);
  // The index is the catalogue's own; anything outside it is dropped.
  if (!echo || echo->index < 0 || echo->index >= kNumParams) return;
  const IParam& param = mParams[echo->index];
  // Restored, not cleared: an echo before the first settings block or synchronisation
  // must not let the player's edits out early.
  const bool applying = session.applyingDeviceValues;
  session.applyingDeviceValues = true;
  SetParameterValue(echo->index, param.ToNormalized(echo->raw));
  session.applyingDeviceValues = applying;
}

void QD3Control::HandleDeviceStatus(uint8_t command) {
  switch (command) {
    case kCmdResetDone:
      session.resetDoneSeen = true;
      mFactoryWrite.OnResetDone();
      break;
    case kCmdWriteAck:
    case kCmdWriteNext:
    case kCmdWriteNak:
      HandleWriteReply(static_cast<DeviceCommand>(command));
      break;
    case kCmdAck:
      // The pedal took the high half of a user-IR number: send the low half.
      if (session.irNumberStep == kParamUserIrAHigh) {
        session.irNumberStep = kParamUserIrALow;
        SetParameterValue(kParamUserIrALow, (session.userIrA & 0x7F) / 127.0);
      } else if (session.irNumberStep == kParamUserIrBHigh) {
        session.irNumberStep = kParamUserIrBLow;
        SetParameterValue(kParamUserIrBLow, (session.userIrB & 0x7F) / 127.0);
      }
      break;
    case kCmdDeviceError:
      mIrUpload.OnRefused();
      PostMessage(kTextDeviceError);
      break;
    case kCmdIrChunkAck:
      mIrUpload.OnChunkAck();
      break;
    case kCmdIrStored:
      HandleIrStored();
      break;
    default:
      break;
  }
}

void QD3Control::HandleLoaderReply(uint8_t command) {
  switch (command) {
    case kLoaderReady:
      ApplyTransferStep(mFirmware.OnLoaderReady(), kFirmwareProgress);
      ShowGroup(kGroupFirmware, true);
      EnableGroup(kGroupFirmwareUpdate, false);
      break;
    case kLoaderDone:
      ApplyTransferStep(mFirmware.OnLoaderDone(), kFirmwareProgress);
      break;
    case kLoaderFailed:
      // "Error in update!"; the firmware screen goes once the box has been shown.
      ApplyTransferStep(mFirmware.OnLoaderFailed(), kFirmwareProgress);
      mLeaveFirmwareAfterMessage = true;
      break;
    default:
      break;
  }
}

}  // namespace qd3
