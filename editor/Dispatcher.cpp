#include "editor/Dispatcher.h"

#include <optional>

#include "protocol/MessageMatch.h"

namespace qd3 {
namespace {

using Family = Dispatcher::Family;
using When = Dispatcher::When;

struct Classified {
  Family family;
  int command;
};

std::optional<Classified> Classify(std::span<const uint8_t> m, const DeviceSession& session) {
  if (m.size() > kStatusMaxSize) {
    const auto command = MatchFromDevice(m);
    if (!command) return std::nullopt;
    if (m.size() == kRecordMessageSize) {
      if (*command == kCmdDataBlock) return Classified{Family::kDataBlock, m[kSelectorOffset]};
      return Classified{Family::kRecord, *command};
    }
    // A 42-byte message is only ever an IR name, never a short IR end chunk, except
    // while the loader runs.
    if (m.size() == kIrNameMessageSize && !session.firmwareMode) {
      return Classified{Family::kIrName, *command};
    }
    return Classified{Family::kIrTransfer, *command};
  }
  if (ReadModel(m) == kModelLoader) {
    const auto reply = MatchLoaderFromDevice(m);
    if (!reply) return std::nullopt;
    return Classified{Family::kLoader, *reply};
  }
  const auto command = MatchFromDevice(m);
  if (!command) return std::nullopt;
  return Classified{Family::kStatus, *command};
}

}  // namespace

// clang-format off
const Dispatcher::Row Dispatcher::kRows[] = {
    {Family::kRecord,     kCmdPresetDump,        When::kConnected,   false, &Dispatcher::PresetDump},
    {Family::kRecord,     kCmdIrNames,           When::kConnected,   false, &Dispatcher::IrNames},
    {Family::kDataBlock,  kAnyCommand,           When::kUnconnected, false, &Dispatcher::Unconnected},
    {Family::kDataBlock,  kBlockGlobalSettings,  When::kConnected,   true,  &Dispatcher::GlobalSettings},
    {Family::kDataBlock,  kBlockControllerMap,   When::kConnected,   true,  &Dispatcher::ControllerMap},
    {Family::kDataBlock,  kBlockProgramMap,      When::kConnected,   true,  &Dispatcher::ProgramMap},
    {Family::kDataBlock,  kBlockPresetChecksums, When::kConnected,   true,  &Dispatcher::Checksums},
    {Family::kIrName,     kCmdIrName,            When::kAlways,      false, &Dispatcher::IrName},
    {Family::kIrTransfer, kAnyCommand,           When::kConnected,   false, &Dispatcher::IrTransfer},
    {Family::kStatus,     kCmdParamEcho,         When::kAlways,      false, &Dispatcher::ParamEcho},
    {Family::kStatus,     kCmdResetDone,         When::kAlways,      false, &Dispatcher::ResetDone},
    {Family::kStatus,     kCmdWriteAck,          When::kAlways,      false, &Dispatcher::WriteReply},
    {Family::kStatus,     kCmdWriteNext,         When::kAlways,      false, &Dispatcher::WriteReply},
    {Family::kStatus,     kCmdWriteNak,          When::kAlways,      false, &Dispatcher::WriteReply},
    {Family::kStatus,     kCmdAck,               When::kAlways,      false, &Dispatcher::Ack},
    {Family::kStatus,     kCmdDeviceError,       When::kAlways,      false, &Dispatcher::DeviceError},
    {Family::kStatus,     kCmdIrChunkAck,        When::kAlways,      false, &Dispatcher::IrChunkAck},
    {Family::kStatus,     kCmdIrStored,          When::kAlways,      false, &Dispatcher::IrStored},
    {Family::kLoader,     kAnyCommand,           When::kAlways,      false, &Dispatcher::Loader},
};
// clang-format on

std::span<const Dispatcher::Row> Dispatcher::Rows() {
  return kRows;
}

void Dispatcher::HandleDeviceMessage(std::span<const uint8_t> m) {
  const std::optional<Classified> message = Classify(m, mNeeds.session);
  if (!message) return;
  const bool connected = mNeeds.session.connected;
  for (const Row& row : kRows) {
    if (row.family != message->family) continue;
    if (row.command != kAnyCommand && row.command != message->command) continue;
    if ((row.when == When::kConnected && !connected) ||
        (row.when == When::kUnconnected && connected)) {
      continue;
    }
    if (row.checksum && !VerifyRecordChecksum(m)) return;
    (this->*row.handle)(m, message->command);
    return;
  }
}

void Dispatcher::PresetDump(std::span<const uint8_t> m, int) {
  // A dump that arrives between the checksum block and the run's first request was not
  // asked for by the run (an answer already on its way): it is the current preset.
  if (mNeeds.mirror.Sync().DropLateDump(m)) return;
  if (mNeeds.mirror.Sync().OwnsDump()) {
    mNeeds.mirror.ContinueSync(m);
  } else if (mNeeds.banks.OnPresetDump(m)) {
    // During a bank export every dump is collected by the export itself.
  } else {
    mNeeds.mirror.ApplyCurrentPresetDump(m);
  }
}

void Dispatcher::IrNames(std::span<const uint8_t> m, int) {
  mNeeds.ir.OnIrNames(m);
}

void Dispatcher::Unconnected(std::span<const uint8_t> m, int) {
  mNeeds.connection.OnDataBlockUnconnected(m);
}

void Dispatcher::GlobalSettings(std::span<const uint8_t> m, int) {
  mNeeds.connection.OnGlobalSettings(m);
}

void Dispatcher::ControllerMap(std::span<const uint8_t> m, int) {
  mNeeds.connection.OnControllerMap(m);
}

void Dispatcher::ProgramMap(std::span<const uint8_t> m, int) {
  mNeeds.connection.OnProgramMap(m);
}

void Dispatcher::Checksums(std::span<const uint8_t> m, int) {
  mNeeds.watch.Answered(SessionRequest::kChecksums);
  const auto data = *ReadRecordData(m);
  mNeeds.banks.VerifyRestore(data);
  mNeeds.mirror.OnChecksumBlock(data);
}

void Dispatcher::IrName(std::span<const uint8_t> m, int) {
  mNeeds.ir.OnIrName(m);
}

void Dispatcher::IrTransfer(std::span<const uint8_t> m, int command) {
  // The bank export keeps every IR message while it runs.
  const auto c = static_cast<DeviceCommand>(command);
  if (!mNeeds.banks.OnIrMessage(c, m)) mNeeds.ir.OnIrTransfer(c, m);
}

void Dispatcher::ParamEcho(std::span<const uint8_t> m, int) {
  mNeeds.connection.OnParamEcho(m);
}

void Dispatcher::ResetDone(std::span<const uint8_t>, int) {
  mNeeds.banks.OnResetDone();
}

void Dispatcher::WriteReply(std::span<const uint8_t>, int command) {
  mNeeds.banks.OnWriteReply(static_cast<DeviceCommand>(command));
}

void Dispatcher::Ack(std::span<const uint8_t>, int) {
  mNeeds.ir.OnAck();
}

void Dispatcher::DeviceError(std::span<const uint8_t>, int) {
  mNeeds.ir.OnDeviceError();
}

void Dispatcher::IrChunkAck(std::span<const uint8_t>, int) {
  mNeeds.ir.OnChunkAck();
}

void Dispatcher::IrStored(std::span<const uint8_t>, int) {
  mNeeds.files.OnIrStored();
}

void Dispatcher::Loader(std::span<const uint8_t>, int command) {
  mNeeds.banks.OnLoaderReply(static_cast<uint8_t>(command));
}

}  // namespace qd3
