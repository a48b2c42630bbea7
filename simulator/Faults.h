#pragma once

// Misbehaviour a test can switch on. Counters count down as they strike; flags stay until
// they are cleared.

#include <optional>

namespace qd3::sim {

struct Faults {
  // The next N replies vanish on the wire (each message of an IR transfer counts).
  int dropReplies = 0;
  // The next reply that carries a checksum (a 267-byte message or an IR end) goes out
  // with a wrong one.
  bool corruptNextChecksum = false;
  // The next IR data chunk the pedal sends has one of its data bytes changed, so that
  // the transfer's checksum no longer holds.
  bool damageNextIrChunk = false;
  // The next N writes are refused: restore and factory writes with kCmdWriteNak, IR
  // uploads with kCmdDeviceError, kCmdStorePreset and the store parameter silently.
  int refuseWrites = 0;
  // The device-info reply reports this version instead of the stored one.
  std::optional<int> reportedVersion;
  // Unplugged: nothing reaches the pedal and nothing leaves it.
  bool silent = false;
  // The loader refuses every firmware image, whatever its checksum.
  bool failFirmwareCheck = false;
};

}  // namespace qd3::sim
