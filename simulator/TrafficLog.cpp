#include "simulator/TrafficLog.h"

#include <optional>

#include "protocol/DeviceMessages.h"
#include "protocol/MessageMatch.h"
#include "protocol/SevenBit.h"

namespace qd3::sim {
namespace {

const char* ToPedalName(DeviceCommand command) {
  switch (command) {
    case kCmdStorePreset:
      return "kCmdStorePreset";
    case kCmdSelectPreset:
      return "kCmdSelectPreset";
    case kCmdRequestPreset:
      return "kCmdRequestPreset";
    case kCmdParamChange:
      return "kCmdParamChange";
    case kCmdDataBlock:
      return "kCmdDataBlock";
    case kCmdRequestBlock:
      return "kCmdRequestBlock";
    case kCmdFactoryReset:
      return "kCmdFactoryReset";
    case kCmdBulkBegin:
      return "kCmdBulkBegin";
    case kCmdBulkEnd:
      return "kCmdBulkEnd";
    case kCmdEditorClosing:
      return "kCmdEditorClosing";
    case kCmdIrBegin:
      return "kCmdIrBegin";
    case kCmdIrData:
      return "kCmdIrData";
    case kCmdIrEnd:
      return "kCmdIrEnd";
    case kCmdRequestIr:
      return "kCmdRequestIr";
    case kCmdRequestIrNames:
      return "kCmdRequestIrNames";
    case kCmdRestoreIrBegin:
      return "kCmdRestoreIrBegin";
    case kCmdRestoreIrData:
      return "kCmdRestoreIrData";
    case kCmdRestoreIrEnd:
      return "kCmdRestoreIrEnd";
    case kCmdWriteFactoryPreset:
      return "kCmdWriteFactoryPreset";
    case kCmdRestorePreset:
      return "kCmdRestorePreset";
    default:
      return "unrecognised";
  }
}

const char* FromPedalName(DeviceCommand command) {
  switch (command) {
    case kCmdPresetDump:
      return "kCmdPresetDump";
    case kCmdParamEcho:
      return "kCmdParamEcho";
    case kCmdDataBlock:
      return "kCmdDataBlock";
    case kCmdResetDone:
      return "kCmdResetDone";
    case kCmdAck:
      return "kCmdAck";
    case kCmdIrBegin:
      return "kCmdIrBegin";
    case kCmdIrStored:
      return "kCmdIrStored";
    case kCmdDeviceError:
      return "kCmdDeviceError";
    case kCmdIrChunkAck:
      return "kCmdIrChunkAck";
    case kCmdIrData:
      return "kCmdIrData";
    case kCmdIrEnd:
      return "kCmdIrEnd";
    case kCmdIrNames:
      return "kCmdIrNames";
    case kCmdWriteAck:
      return "kCmdWriteAck";
    case kCmdWriteNak:
      return "kCmdWriteNak";
    case kCmdWriteNext:
      return "kCmdWriteNext";
    case kCmdIrName:
      return "kCmdIrName";
    default:
      return "unrecognised";
  }
}

const char* LoaderName(LoaderCommand command) {
  switch (command) {
    case kLoaderEnter:
      return "kLoaderEnter";
    case kLoaderReady:
      return "kLoaderReady";
    case kLoaderBegin:
      return "kLoaderBegin";
    case kLoaderDone:
      return "kLoaderDone";
    case kLoaderFailed:
      return "kLoaderFailed";
    case kLoaderData:
      return "kLoaderData";
  }
  return "unrecognised";
}

std::string Byte(std::span<const uint8_t> message, std::size_t offset) {
  return offset < message.size() ? std::to_string(message[offset]) : "?";
}

std::string Wide14(std::span<const uint8_t> message, std::size_t offset) {
  const auto value = Read14(message, offset);
  return value ? std::to_string(*value) : "?";
}

// The field worth seeing at a glance, with a leading space, or nothing.
std::string Detail(DeviceCommand command, std::span<const uint8_t> message) {
  switch (command) {
    case kCmdStorePreset:
    case kCmdSelectPreset:
    case kCmdRequestPreset:
    case kCmdPresetDump:
    case kCmdWriteFactoryPreset:
    case kCmdRestorePreset:
      return " slot " + Byte(message, kSelectorOffset);
    case kCmdDataBlock:
    case kCmdRequestBlock:
      return " type " + Byte(message, kSelectorOffset);
    case kCmdFactoryReset:
      return " kind " + Byte(message, kSelectorOffset);
    case kCmdRequestIrNames:
    case kCmdIrNames:
      return " group " + Byte(message, kSelectorOffset);
    case kCmdParamChange:
    case kCmdParamEcho:
      return " param " + Byte(message, kParamNumberOffset) + " = " +
             Byte(message, kParamValueOffset);
    case kCmdIrBegin:
    case kCmdRestoreIrBegin:
    case kCmdRequestIr:
      return " IR " + Wide14(message, kIrNumberOffset);
    default:
      return {};
  }
}

}  // namespace

std::string HexBytes(std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (const uint8_t b : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

std::string DescribeMessage(Direction direction, std::span<const uint8_t> message) {
  const bool toPedal = direction == Direction::kToPedal;
  if (ReadModel(message) == kModelLoader) {
    const auto command = toPedal ? MatchLoaderToDevice(message) : MatchLoaderFromDevice(message);
    return command ? LoaderName(*command) : "unrecognised";
  }
  const auto command = toPedal ? MatchToDevice(message) : MatchFromDevice(message);
  if (!command) return "unrecognised";
  return std::string(toPedal ? ToPedalName(*command) : FromPedalName(*command)) +
         Detail(*command, message);
}

std::string FormatTraffic(Direction direction, std::span<const uint8_t> message,
                          std::string_view note) {
  std::string line = direction == Direction::kToPedal ? "E->D " : "D->E ";
  line += DescribeMessage(direction, message);
  line += " (" + std::to_string(message.size()) + "): " + HexBytes(message);
  if (!note.empty()) {
    line += " [";
    line += note;
    line += ']';
  }
  return line;
}

}  // namespace qd3::sim
