#include "protocol/MessageBuilders.h"

#include <algorithm>
#include <cassert>

#include "protocol/MessageFrame.h"
#include "protocol/SevenBit.h"

namespace qd3 {
namespace {

constexpr int kMaxSlot = kPresetCount - 1;

Bytes OneByteRequest(DeviceCommand command, uint8_t value) {
  Bytes message = frame::MakeDevice(command, kOneByteRequestSize);
  message[kSelectorOffset] = value;
  return message;
}

// The last chunk of a transfer: `lastK` groups from `groupsOffset`, then checksum hi, lo.
// Its length is `overhead` + k.
Bytes LastChunk(uint8_t model, uint8_t command, std::size_t groupsOffset, std::size_t maxGroups,
                std::size_t overhead, std::span<const uint8_t> lastK, Checksum14Pair checksum) {
  assert(lastK.size() <= maxGroups);
  const std::size_t k = std::min(lastK.size(), maxGroups);
  const std::size_t checksumOffset = groupsOffset + k;
  Bytes message = model == kModelDevice ? frame::MakeDevice(command, overhead + k)
                                        : frame::Make(model, command, overhead + k);
  frame::CopyData(lastK.first(k), k, message, groupsOffset);
  message[checksumOffset] = checksum.hi & kDataMask;
  message[checksumOffset + 1] = checksum.lo & kDataMask;
  return message;
}

}  // namespace

Bytes BuildStorePreset(int slot, std::span<const uint8_t> record256) {
  return frame::MakeRecordMessage(kCmdStorePreset, frame::Field7(slot, kMaxSlot), record256);
}

Bytes BuildWriteFactoryPreset(int slot, std::span<const uint8_t> record256) {
  return frame::MakeRecordMessage(kCmdWriteFactoryPreset, frame::Field7(slot, kMaxSlot), record256);
}

Bytes BuildRestorePreset(int slot, std::span<const uint8_t> record256) {
  return frame::MakeRecordMessage(kCmdRestorePreset, frame::Field7(slot, kMaxSlot), record256);
}

Bytes BuildDataBlock(DataBlockType type, std::span<const uint8_t> data256) {
  return frame::MakeRecordMessage(kCmdDataBlock, frame::Field7(type), data256);
}

Bytes BuildSelectPreset(int n) {
  return OneByteRequest(kCmdSelectPreset, frame::Field7(n, kMaxSlot));
}

Bytes BuildRequestPreset(int slot) {
  return OneByteRequest(kCmdRequestPreset, frame::Field7(slot, kMaxSlot));
}

Bytes BuildParamChange(int deviceParam, int value) {
  Bytes message = frame::MakeDevice(kCmdParamChange, kParamChangeSize);
  message[kParamNumberOffset] = frame::Field7(deviceParam);
  message[kParamValueOffset] = frame::Field7(value);
  return message;
}

Bytes BuildRequestBlock(DataBlockType type) {
  return OneByteRequest(kCmdRequestBlock, frame::Field7(type));
}

Bytes BuildFactoryReset(int kind) {
  assert(kind == kFactoryResetAll || kind == kFactoryResetPresets || kind == kFactoryResetSettings);
  return OneByteRequest(kCmdFactoryReset, frame::Field7(kind));
}

Bytes BuildBulkBegin() {
  return frame::MakeDevice(kCmdBulkBegin, kNoPayloadSize);
}

Bytes BuildBulkEnd() {
  return frame::MakeDevice(kCmdBulkEnd, kNoPayloadSize);
}

Bytes BuildEditorClosing() {
  return frame::MakeDevice(kCmdEditorClosing, kNoPayloadSize);
}

Bytes BuildRequestIr(int n) {
  Bytes message = frame::MakeDevice(kCmdRequestIr, kRequestIrSize);
  const auto number = Split14(frame::FieldWide(n, kMax14));
  std::copy(number.begin(), number.end(), message.begin() + kIrNumberOffset);
  return message;
}

Bytes BuildRequestIrNames(int group) {
  return OneByteRequest(kCmdRequestIrNames, frame::Field7(group));
}

Bytes BuildIrBegin(int irNumber, int totalGroups, std::span<const uint8_t> first256) {
  Bytes message = frame::MakeDevice(kCmdIrBegin, kIrBeginSize);
  const auto number = Split14(frame::FieldWide(irNumber, kMax14));
  const auto count = Split21(frame::FieldWide(totalGroups, kMax21));
  std::copy(number.begin(), number.end(), message.begin() + kIrNumberOffset);
  std::copy(count.begin(), count.end(), message.begin() + kIrGroupCountOffset);
  frame::CopyData(first256, kIrChunkGroups, message, kIrBeginGroupsOffset);
  return message;
}

Bytes BuildIrData(std::span<const uint8_t> groups256) {
  Bytes message = frame::MakeDevice(kCmdIrData, kIrDataSize);
  frame::CopyData(groups256, kIrChunkGroups, message, kIrDataGroupsOffset);
  return message;
}

Bytes BuildIrEnd(std::span<const uint8_t> lastK, Checksum14Pair checksum) {
  return LastChunk(kModelDevice, kCmdIrEnd, kIrEndGroupsOffset, kIrChunkGroups, kIrEndOverhead,
                   lastK, checksum);
}

Bytes BuildLoaderEnter() {
  return frame::Make(kModelLoader, kLoaderEnter, kLoaderEnterSize);
}

Bytes BuildLoaderBegin(int totalGroups, std::span<const uint8_t> first240) {
  Bytes message = frame::Make(kModelLoader, kLoaderBegin, kLoaderBeginSize);
  const auto count = Split21(frame::FieldWide(totalGroups, kMax21));
  std::copy(count.begin(), count.end(), message.begin() + kLoaderGroupCountOffset);
  frame::CopyData(first240, kLoaderChunkGroups, message, kLoaderBeginGroupsOffset);
  return message;
}

Bytes BuildLoaderData(std::span<const uint8_t> groups240) {
  Bytes message = frame::Make(kModelLoader, kLoaderData, kLoaderDataSize);
  frame::CopyData(groups240, kLoaderChunkGroups, message, kLoaderDataGroupsOffset);
  return message;
}

Bytes BuildLoaderLast(std::span<const uint8_t> lastK, Checksum14Pair checksum) {
  return LastChunk(kModelLoader, kLoaderData, kLoaderDataGroupsOffset, kLoaderChunkGroups,
                   kLoaderLastOverhead, lastK, checksum);
}

}  // namespace qd3
