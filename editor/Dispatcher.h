#pragma once

// Everything the pedal sends arrives here, one whole message at a time and in arrival
// order, and goes to one handler by a table of message family and command. Messages
// that match no row, fail a row's checksum or come in the wrong state are dropped
// without a word.

#include <cstdint>
#include <span>

#include "editor/BankActivities.h"
#include "editor/Connection.h"
#include "editor/ImpulseResponses.h"
#include "editor/PresetMirror.h"
#include "editor/TemplatesAndFiles.h"

namespace qd3 {

class Dispatcher {
 public:
  struct Needs {
    DeviceSession& session;
    SessionWatch& watch;
    Outbox& outbox;
    Connection& connection;
    PresetMirror& mirror;
    ImpulseResponses& ir;
    TemplatesAndFiles& files;
    BankActivities& banks;
  };
  explicit Dispatcher(const Needs& needs) : mNeeds(needs) {}

  void HandleDeviceMessage(std::span<const uint8_t> m);

  // How a message is told apart before its command is read.
  enum class Family : uint8_t {
    kRecord,      // 267 bytes: dumps and IR name lists
    kDataBlock,   // 267 bytes, kCmdDataBlock: the command is the block type
    kIrName,      // 42 bytes while no firmware streams: a single IR name
    kIrTransfer,  // other long messages: IR transfers
    kStatus,      // up to 10 bytes from the running pedal
    kLoader,      // up to 10 bytes from the pedal's loader
  };
  enum class When : uint8_t { kAlways, kConnected, kUnconnected };
  // A row's command that matches any command of its family.
  static constexpr int kAnyCommand = -1;
  using Handler = void (Dispatcher::*)(std::span<const uint8_t> m, int command);
  struct Row {
    Family family;
    int command;
    When when;
    bool checksum;  // the record checksum must hold
    Handler handle;
  };
  // The table, in the order it is searched: the first matching row handles a message.
  static std::span<const Row> Rows();

 private:
  void PresetDump(std::span<const uint8_t> m, int command);
  void IrNames(std::span<const uint8_t> m, int command);
  void Unconnected(std::span<const uint8_t> m, int command);
  void GlobalSettings(std::span<const uint8_t> m, int command);
  void ControllerMap(std::span<const uint8_t> m, int command);
  void ProgramMap(std::span<const uint8_t> m, int command);
  void Checksums(std::span<const uint8_t> m, int command);
  void IrName(std::span<const uint8_t> m, int command);
  void IrTransfer(std::span<const uint8_t> m, int command);
  void ParamEcho(std::span<const uint8_t> m, int command);
  void ResetDone(std::span<const uint8_t> m, int command);
  void WriteReply(std::span<const uint8_t> m, int command);
  void Ack(std::span<const uint8_t> m, int command);
  void DeviceError(std::span<const uint8_t> m, int command);
  void IrChunkAck(std::span<const uint8_t> m, int command);
  void IrStored(std::span<const uint8_t> m, int command);
  void Loader(std::span<const uint8_t> m, int command);

  static const Row kRows[];
  Needs mNeeds;
};

}  // namespace qd3
