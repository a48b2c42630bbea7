#include "protocol/DeviceReplies.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "protocol/MessageFrame.h"
#include "protocol/MessageMatch.h"
#include "protocol/Name32.h"

namespace qd3 {
namespace {

// Where the serial sits within the 256 data bytes of the device-info block.
constexpr std::size_t kSerialDataOffset = kSerialOffset - kRecordOffset;

std::span<uint8_t, kNameSize> NameField(std::span<uint8_t> bytes, std::size_t offset) {
  return bytes.subspan(offset).first<kNameSize>();
}

}  // namespace

Bytes BuildPresetDump(int slot, std::span<const uint8_t> record256) {
  return frame::MakeRecordMessage(kCmdPresetDump, frame::Field7(slot, kPresetCount - 1), record256);
}

Bytes BuildParamEcho(int index, int raw) {
  Bytes message = frame::MakeDevice(kCmdParamEcho, kParamEchoSize);
  message[kParamNumberOffset] = frame::Field7(index);
  message[kParamValueOffset] = frame::Field7(raw);
  return message;
}

Bytes BuildStatus(DeviceCommand command) {
  assert(IsStatusCommand(command));
  return frame::Make(kModelDevice, command, kStatusReplySize);
}

Bytes BuildLoaderReply(LoaderCommand command) {
  assert(command == kLoaderReady || command == kLoaderDone || command == kLoaderFailed);
  return frame::Make(kModelLoader, command, kLoaderReplySize);
}

Bytes BuildDeviceInfo(int version, std::string_view serial32) {
  assert(serial32.size() <= kSerialSize);
  std::array<uint8_t, kRecordSize> data{};
  WriteName32(serial32, NameField(data, kSerialDataOffset));
  Bytes message = frame::MakeRecordMessage(kCmdDataBlock, kBlockDeviceInfo, data);
  message[kVersionOffset] = frame::Field7(version);
  return message;
}

Bytes BuildIrNames(int group, std::span<const std::string> names) {
  assert(names.size() == kIrNamesPerGroup);
  std::array<uint8_t, kRecordSize> data{};
  for (std::size_t k = 0; k < kIrNamesPerGroup; ++k) {
    WriteName32(k < names.size() ? std::string_view(names[k]) : std::string_view(),
                NameField(data, k * kNameSize));
  }
  return frame::MakeRecordMessage(kCmdIrNames, frame::Field7(group), data);
}

Bytes BuildIrName(std::string_view name) {
  assert(name.size() <= kNameSize);
  Bytes message = frame::MakeDevice(kCmdIrName, kIrNameMessageSize);
  WriteName32(name, NameField(message, kIrNameOffset));
  return message;
}

}  // namespace qd3
