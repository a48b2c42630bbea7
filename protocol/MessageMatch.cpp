#include "protocol/MessageMatch.h"

#include <algorithm>
#include <array>

namespace qd3 {
namespace {

enum class Length : uint8_t {
  kExact,       // exactly `size` bytes
  kStatus,      // kStatusMinSize..kStatusMaxSize bytes
  kIrEnd,       // k + 10 bytes, k <= 256
  kLoaderLast,  // k + 9 bytes, k <= 240
};

struct Row {
  uint8_t command;   // byte 5 as received
  uint8_t reported;  // the command the caller is told (differs for the alternate codes)
  Length length;
  std::size_t size;   // for kExact
  bool needsVersion;  // byte 6 must be kFormatVersion
};

constexpr bool kNeedsVersion = true;

constexpr Row Exact(uint8_t command, std::size_t size, bool needsVersion = false) {
  return {command, command, Length::kExact, size, needsVersion};
}
constexpr Row Status(uint8_t command, uint8_t reported) {
  return {command, reported, Length::kStatus, 0, false};
}
constexpr Row Status(uint8_t command) {
  return Status(command, command);
}
constexpr Row IrEnd(uint8_t command) {
  return {command, command, Length::kIrEnd, 0, false};
}

constexpr std::array kFromDeviceRows = {
    Exact(kCmdPresetDump, kRecordMessageSize),
    Exact(kCmdDataBlock, kRecordMessageSize),
    Exact(kCmdIrNames, kRecordMessageSize, kNeedsVersion),
    Exact(kCmdIrBegin, kIrBeginSize),
    Exact(kCmdIrData, kIrDataSize),
    IrEnd(kCmdIrEnd),
    Exact(kCmdIrName, kIrNameMessageSize, kNeedsVersion),
    Exact(kCmdParamEcho, kParamEchoSize, kNeedsVersion),
    Status(kCmdResetDone),
    Status(kCmdAck),
    Status(kCmdIrStored),
    Status(kCmdDeviceError),
    Status(kCmdIrChunkAck),
    Status(kCmdWriteAck),
    Status(kCmdWriteAckAlt, kCmdWriteAck),
    Status(kCmdWriteNak),
    Status(kCmdWriteNakAlt, kCmdWriteNak),
    Status(kCmdWriteNext),
};

constexpr std::array kToDeviceRows = {
    Exact(kCmdStorePreset, kRecordMessageSize),
    Exact(kCmdWriteFactoryPreset, kRecordMessageSize),
    Exact(kCmdRestorePreset, kRecordMessageSize),
    Exact(kCmdDataBlock, kRecordMessageSize),
    Exact(kCmdSelectPreset, kOneByteRequestSize),
    Exact(kCmdRequestPreset, kOneByteRequestSize),
    Exact(kCmdRequestBlock, kOneByteRequestSize),
    Exact(kCmdFactoryReset, kOneByteRequestSize),
    Exact(kCmdRequestIrNames, kOneByteRequestSize),
    Exact(kCmdParamChange, kParamChangeSize),
    Exact(kCmdRequestIr, kRequestIrSize),
    Exact(kCmdBulkBegin, kNoPayloadSize),
    Exact(kCmdBulkEnd, kNoPayloadSize),
    Exact(kCmdEditorClosing, kNoPayloadSize),
    Exact(kCmdIrBegin, kIrBeginSize),
    Exact(kCmdIrData, kIrDataSize),
    IrEnd(kCmdIrEnd),
    Exact(kCmdRestoreIrBegin, kIrBeginSize),
    Exact(kCmdRestoreIrData, kIrDataSize),
    IrEnd(kCmdRestoreIrEnd),
};

constexpr std::array kLoaderFromDeviceRows = {
    Status(kLoaderReady),
    Status(kLoaderDone),
    Status(kLoaderFailed),
};

constexpr std::array kLoaderToDeviceRows = {
    Exact(kLoaderEnter, kLoaderEnterSize),
    Exact(kLoaderBegin, kLoaderBeginSize),
    Row{kLoaderData, kLoaderData, Length::kLoaderLast, 0, false},
};

bool LengthFits(const Row& row, std::size_t size) {
  switch (row.length) {
    case Length::kExact:
      return size == row.size;
    case Length::kStatus:
      return size >= kStatusMinSize && size <= kStatusMaxSize;
    case Length::kIrEnd:
      return size >= kIrEndOverhead && size <= kIrEndOverhead + kIrChunkGroups;
    case Length::kLoaderLast:
      return size >= kLoaderLastOverhead && size <= kLoaderLastOverhead + kLoaderChunkGroups;
  }
  return false;
}

bool HasEnvelope(std::span<const uint8_t> message, uint8_t model) {
  return message.size() > kCommandOffset &&
         std::equal(kManufacturerId.begin(), kManufacturerId.end(),
                    message.begin() + kManufacturerOffset) &&
         message[kModelOffset] == model;
}

bool CarriesVersion(std::span<const uint8_t> message) {
  return message.size() > kVersionOffset && message[kVersionOffset] == kFormatVersion;
}

// Every byte between the leading 0xF0 and the final byte is SysEx data, 0..127. A byte with
// its top bit set means the message was garbled on the way (or a status byte cut into it);
// its checksum may still agree, since the sum takes the byte as it is. Such a message is
// refused here, the one gate every received message passes, before any reader sees it.
bool HasOnlyDataBytes(std::span<const uint8_t> message) {
  if (message.size() < 2) return true;
  const auto inner = message.subspan(1, message.size() - 2);
  return std::all_of(inner.begin(), inner.end(), [](uint8_t b) { return (b & ~kDataMask) == 0; });
}

template <std::size_t N>
std::optional<uint8_t> MatchRow(const std::array<Row, N>& rows, std::span<const uint8_t> message,
                                uint8_t model) {
  if (!HasEnvelope(message, model) || !HasOnlyDataBytes(message)) return std::nullopt;
  const uint8_t command = message[kCommandOffset];
  for (const Row& row : rows) {
    if (row.command != command || !LengthFits(row, message.size())) continue;
    if (row.needsVersion && !CarriesVersion(message)) return std::nullopt;
    return row.reported;
  }
  return std::nullopt;
}

}  // namespace

bool IsStatusCommand(uint8_t command) {
  return std::any_of(kFromDeviceRows.begin(), kFromDeviceRows.end(), [&](const Row& row) {
    return row.command == command && row.length == Length::kStatus;
  });
}

std::optional<DeviceCommand> MatchFromDevice(std::span<const uint8_t> message) {
  // Short pedal messages carrying the format version are echoes; anything else short with
  // 0x0B in byte 6 is not a status reply and is dropped.
  if (message.size() <= kStatusMaxSize && CarriesVersion(message) &&
      ReadCommand(message) != kCmdParamEcho) {
    return std::nullopt;
  }
  const auto command = MatchRow(kFromDeviceRows, message, kModelDevice);
  if (!command) return std::nullopt;
  return static_cast<DeviceCommand>(*command);
}

std::optional<DeviceCommand> MatchToDevice(std::span<const uint8_t> message) {
  const auto command = MatchRow(kToDeviceRows, message, kModelDevice);
  if (!command) return std::nullopt;
  return static_cast<DeviceCommand>(*command);
}

std::optional<LoaderCommand> MatchLoaderFromDevice(std::span<const uint8_t> message) {
  const auto command = MatchRow(kLoaderFromDeviceRows, message, kModelLoader);
  if (!command) return std::nullopt;
  return static_cast<LoaderCommand>(*command);
}

std::optional<LoaderCommand> MatchLoaderToDevice(std::span<const uint8_t> message) {
  const auto command = MatchRow(kLoaderToDeviceRows, message, kModelLoader);
  if (!command) return std::nullopt;
  return static_cast<LoaderCommand>(*command);
}

std::optional<uint8_t> ReadModel(std::span<const uint8_t> message) {
  if (message.size() <= kModelOffset) return std::nullopt;
  return message[kModelOffset];
}

std::optional<uint8_t> ReadCommand(std::span<const uint8_t> message) {
  if (message.size() <= kCommandOffset) return std::nullopt;
  return message[kCommandOffset];
}

std::optional<uint8_t> ReadVersion(std::span<const uint8_t> message) {
  if (message.size() <= kVersionOffset) return std::nullopt;
  return message[kVersionOffset];
}

std::optional<ParamEcho> ReadParamEcho(std::span<const uint8_t> message) {
  if (message.size() < kParamEchoSize) return std::nullopt;
  const uint8_t index = message[kParamNumberOffset];
  const uint8_t raw = message[kParamValueOffset];
  // A byte with its top bit set is not SysEx data: the echo is garbled, not a
  // different parameter, so it is refused rather than masked.
  if ((index | raw) & ~kDataMask) return std::nullopt;
  return ParamEcho{index, raw};
}

std::optional<std::span<const uint8_t, kRecordSize>> ReadRecordData(
    std::span<const uint8_t> message) {
  if (message.size() < kRecordMessageSize) return std::nullopt;
  return message.subspan(kRecordOffset).first<kRecordSize>();
}

std::optional<std::span<const uint8_t, kNameSize>> ReadName32Field(std::span<const uint8_t> message,
                                                                   std::size_t offset) {
  if (offset > message.size() || message.size() - offset < kNameSize) return std::nullopt;
  return message.subspan(offset).first<kNameSize>();
}

std::optional<std::string> ReadName32(std::span<const uint8_t> message, std::size_t offset) {
  const auto field = ReadName32Field(message, offset);
  if (!field) return std::nullopt;
  return TrimName32(*field);
}

}  // namespace qd3
