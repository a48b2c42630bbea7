#include "simulator/PedalModel.h"

#include <algorithm>
#include <string>
#include <utility>

#include "protocol/Checksum14.h"
#include "protocol/DeviceReplies.h"
#include "protocol/MessageBuilders.h"
#include "protocol/MessageMatch.h"
#include "simulator/DefaultState.h"

namespace qd3::sim {
namespace {

// Messages the editor replays from a bank or the factory bank keep the version byte they
// were recorded with; everything the editor builds itself carries kFormatVersion.
bool KeepsRecordedVersion(DeviceCommand command) {
  switch (command) {
    case kCmdWriteFactoryPreset:
    case kCmdRestorePreset:
    case kCmdRestoreIrBegin:
    case kCmdRestoreIrData:
    case kCmdRestoreIrEnd:
      return true;
    default:
      return false;
  }
}

// Makes the checksum of a reply wrong; false when the reply has none.
bool CorruptChecksum(Bytes& message) {
  const auto command = MatchFromDevice(message);
  if (!command) return false;
  if (message.size() == kRecordMessageSize &&
      (*command == kCmdPresetDump || *command == kCmdDataBlock || *command == kCmdIrNames)) {
    message[kChecksumLoOffset] ^= 1;
    return true;
  }
  if (*command == kCmdIrEnd) {
    message[message.size() - 2] ^= 1;  // checksum lo sits before the F7
    return true;
  }
  return false;
}

uint8_t Data7(std::span<const uint8_t> message, std::size_t offset) {
  return message[offset] & kDataMask;
}

}  // namespace

bool IsPedalControl(int index) {
  return (index >= 0 && index < kSoundParamCount) || FindGlobalField(index) != nullptr ||
         (index >= kControllerIndexFirst && index < kControllerIndexFirst + kControllerCount);
}

PedalModel::PedalModel() : PedalModel(DefaultPedalState()) {}

PedalModel::PedalModel(PedalState state) : mState(std::move(state)) {}

Replies PedalModel::Receive(std::span<const uint8_t> message) {
  mPending.clear();
  mInNote.clear();
  mIgnoredThis = false;
  mWroteThis = false;
  if (mFaults.silent) {
    Log(Direction::kToPedal, message, "unplugged");
    return {};
  }

  if (ReadModel(message) == kModelLoader) {
    HandleLoader(message);
  } else if (mLoader.Active()) {
    Ignore("the loader is running");
  } else if (const auto command = MatchToDevice(message); !command) {
    Ignore("not understood");
  } else if (!KeepsRecordedVersion(*command) && ReadVersion(message) != kFormatVersion) {
    Ignore("byte 6 is not the format version");
  } else {
    Dispatch(*command, message);
  }
  ++(mIgnoredThis ? mCounters.ignored : mCounters.handled);
  Log(Direction::kToPedal, message, mInNote);
  return Flush();
}

Replies PedalModel::TurnKnob(int index, int raw) {
  mPending.clear();
  if (raw < 0 || raw > kMax7) return {};
  int shown = raw;
  if (index >= 0 && index < kSoundParamCount) {
    shown = ClampSoundValue(index, raw);
    RecordParam(mState.editBuffer, index) = static_cast<uint8_t>(shown);
  } else if (const GlobalField* field = FindGlobalField(index)) {
    shown = std::min(raw, static_cast<int>(field->max));
    const bool encoded = field->dataByte == kGlobalPotDisplay;
    mState.globals[field->dataByte] =
        static_cast<uint8_t>(encoded ? (shown > 0 ? kPotDisplayNumeric : 0) : shown);
  } else if (index >= kControllerIndexFirst && index < kControllerIndexFirst + kControllerCount) {
    mState.controllerMap[static_cast<std::size_t>(index - kControllerIndexFirst)] =
        static_cast<uint8_t>(raw);
  } else {
    return {};
  }
  const Bytes echo = BuildParamEcho(index, shown);
  if (mFaults.silent) {
    Log(Direction::kFromPedal, echo, "unplugged");
    return {};
  }
  Answer(echo);
  return Flush();
}

void PedalModel::Dispatch(DeviceCommand command, std::span<const uint8_t> message) {
  switch (command) {
    case kCmdStorePreset:
      return StorePreset(message);
    case kCmdSelectPreset:
      return SelectPreset(Data7(message, kSelectorOffset));
    case kCmdRequestPreset: {
      const uint8_t slot = Data7(message, kSelectorOffset);
      return Answer(BuildPresetDump(slot, mState.presets.at(slot)));
    }
    case kCmdParamChange:
      return ParamChange(Data7(message, kParamNumberOffset), Data7(message, kParamValueOffset));
    case kCmdDataBlock:
      return ReceiveBlock(message);
    case kCmdRequestBlock:
      return SendBlock(Data7(message, kSelectorOffset));
    case kCmdFactoryReset:
      return FactoryReset(Data7(message, kSelectorOffset));
    case kCmdBulkBegin:
      mBulkOpen = true;
      ++mCounters.bulkBegins;
      return;
    case kCmdBulkEnd:
      mBulkOpen = false;
      ++mCounters.bulkEnds;
      return;
    case kCmdEditorClosing:
      ++mCounters.editorClosings;
      return;
    case kCmdIrBegin:
    case kCmdIrData:
    case kCmdIrEnd:
      return UploadIr(command, message);
    case kCmdRequestIr:
      return SendIr(Read14(message, kIrNumberOffset).value_or(-1));
    case kCmdRequestIrNames:
      return SendIrNames(Data7(message, kSelectorOffset));
    case kCmdRestoreIrBegin:
    case kCmdRestoreIrData:
    case kCmdRestoreIrEnd:
      return RestoreIr(command, message);
    case kCmdWriteFactoryPreset:
      return WriteFactoryPreset(message);
    case kCmdRestorePreset:
      return RestorePreset(message);
    default:
      return Ignore("not meant for the pedal");
  }
}

void PedalModel::HandleLoader(std::span<const uint8_t> message) {
  switch (mLoader.Receive(message, mFaults.failFirmwareCheck)) {
    case FirmwareLoader::Verdict::kNone:
      if (!MatchLoaderToDevice(message)) return Ignore("not understood by the loader");
      if (!mLoader.Active()) return Ignore("the loader is not running");
      return;
    case FirmwareLoader::Verdict::kReady:
      mUploadActive = false;
      mRestoreActive = false;
      return Answer(BuildLoaderReply(kLoaderReady));
    case FirmwareLoader::Verdict::kDone:
      ++mCounters.firmwareUpdates;
      return Answer(BuildLoaderReply(kLoaderDone));
    case FirmwareLoader::Verdict::kFailed:
      return Answer(BuildLoaderReply(kLoaderFailed));
  }
}

void PedalModel::StorePreset(std::span<const uint8_t> message) {
  if (!VerifyRecordChecksum(message)) return Ignore("bad checksum");
  const auto data = *ReadRecordData(message);
  if (!IsValidRecord(data)) return Ignore("not a format 1.0 record");
  if (PresetProtectionOn(mState)) return Ignore("preset protection is on");
  if (TakeRefusal()) return Ignore("write refused");
  const uint8_t slot = Data7(message, kSelectorOffset);
  std::copy(data.begin(), data.end(), mState.presets.at(slot).begin());
  if (slot == mState.currentPreset) mState.editBuffer = mState.presets[slot];
  mWroteThis = true;
}

void PedalModel::SelectPreset(int slot) {
  mState.currentPreset = slot;
  mState.editBuffer = mState.presets.at(static_cast<std::size_t>(slot));
  Answer(BuildPresetDump(slot, mState.editBuffer));
}

void PedalModel::ParamChange(int deviceParam, int value) {
  if (deviceParam == kDeviceParamStore) return StoreEditBuffer(value);
  const auto index = SoundIndexOfDeviceParam(deviceParam);
  if (!index) return Ignore("unused parameter number");
  RecordParam(mState.editBuffer, *index) = ClampSoundValue(*index, value);
  if (deviceParam >= kDeviceParamIrFirst && deviceParam <= kDeviceParamIrLast) {
    AnswerStatus(kCmdAck);
  }
}

void PedalModel::StoreEditBuffer(int slot) {
  if (PresetProtectionOn(mState)) return Ignore("preset protection is on");
  if (TakeRefusal()) return Ignore("write refused");
  mState.presets.at(static_cast<std::size_t>(slot)) = mState.editBuffer;
  mState.currentPreset = slot;
  mWroteThis = true;
  Answer(BuildPresetDump(slot, mState.editBuffer));
}

void PedalModel::ReceiveBlock(std::span<const uint8_t> message) {
  if (!VerifyRecordChecksum(message)) return Ignore("bad checksum");
  const auto data = *ReadRecordData(message);
  switch (Data7(message, kSelectorOffset)) {
    case kBlockGlobalSettings:
      return ApplyGlobalSettings(mState, data);
    case kBlockControllerMap:
      return ApplyControllerMap(mState, data);
    case kBlockProgramMap:
      return ApplyProgramMap(mState, data);
    default:
      return Ignore("block type is read-only");
  }
}

void PedalModel::SendBlock(int type) {
  switch (type) {
    case kBlockGlobalSettings:
      return Answer(BuildDataBlock(kBlockGlobalSettings, GlobalSettingsData(mState)));
    case kBlockControllerMap:
      return Answer(BuildDataBlock(kBlockControllerMap, ControllerMapData(mState)));
    case kBlockProgramMap:
      return Answer(BuildDataBlock(kBlockProgramMap, ProgramMapData(mState)));
    case kBlockPresetChecksums:
      return Answer(BuildDataBlock(kBlockPresetChecksums, PresetChecksumData(mState)));
    case kBlockDeviceInfo: {
      const int version =
          std::clamp(mFaults.reportedVersion.value_or(mState.firmwareVersion), 0, kMax7);
      const std::string_view serial = std::string_view(mState.serial).substr(0, kSerialSize);
      return Answer(BuildDeviceInfo(version, serial));
    }
    default:
      return Ignore("no such block");
  }
}

void PedalModel::FactoryReset(int kind) {
  switch (kind) {
    case kFactoryResetAll:
      RestoreEverything(mState);
      break;
    case kFactoryResetPresets:
      RestoreFactoryPresets(mState);
      break;
    case kFactoryResetSettings:
      RestoreFactorySettings(mState);
      break;
    default:
      return Ignore("no such reset");
  }
  AnswerStatus(kCmdResetDone);
}

bool PedalModel::TakeRefusal() {
  if (mFaults.refuseWrites <= 0) return false;
  --mFaults.refuseWrites;
  return true;
}

void PedalModel::Answer(Bytes message) {
  if (mFaults.dropReplies > 0) {
    --mFaults.dropReplies;
    mPending.push_back({std::move(message), "dropped", true});
    return;
  }
  std::string note;
  if (mFaults.corruptNextChecksum && CorruptChecksum(message)) {
    mFaults.corruptNextChecksum = false;
    note = "checksum corrupted";
  }
  if (mFaults.damageNextIrChunk && MatchFromDevice(message) == kCmdIrData) {
    mFaults.damageNextIrChunk = false;
    message[message.size() / 2] ^= 1;  // a data byte: it stays below 0x80
    note = "chunk damaged";
  }
  mPending.push_back({std::move(message), std::move(note), false});
}

void PedalModel::AnswerStatus(DeviceCommand command) {
  Answer(BuildStatus(command));
}

void PedalModel::Ignore(std::string_view why) {
  mIgnoredThis = true;
  mInNote = "ignored: " + std::string(why);
}

void PedalModel::Note(std::string_view what) {
  mInNote = std::string(what);
}

Replies PedalModel::Flush() {
  Replies replies;
  for (Outgoing& out : mPending) {
    Log(Direction::kFromPedal, out.message, out.note);
    if (!out.dropped) replies.push_back(std::move(out.message));
  }
  mPending.clear();
  return replies;
}

void PedalModel::Log(Direction direction, std::span<const uint8_t> message, std::string_view note) {
  if (mLog) mLog(FormatTraffic(direction, message, note));
}

}  // namespace qd3::sim
