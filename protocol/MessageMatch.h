#pragma once

// Recognising received messages and reading their fields. Every function here is safe on
// short or garbled input: it looks only at bytes that exist and answers "no match" or an
// empty optional instead of failing.
//
// A message matches a row of the command tables by bytes 1..3 (manufacturer), byte 4
// (model), byte 5 (command) and its total length. Byte 0 and the final byte are never
// examined, so a message cut short by the MIDI layer is judged by what it holds. A message
// with any byte above 0x7F between them matches nothing.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "protocol/DeviceMessages.h"
#include "protocol/Name32.h"
#include "protocol/SevenBit.h"

namespace qd3 {

// ---- Matching --------------------------------------------------------------------------------

// The status rows: short replies of at most 10 bytes with no payload.
bool IsStatusCommand(uint8_t command);

// The pedal-to-editor row a message from the running pedal (model 0x03) matches:
//   267 bytes: kCmdPresetDump, kCmdDataBlock, kCmdIrNames (the last with 0x0B in byte 6);
//   269 / 264 / k + 10 bytes: kCmdIrBegin, kCmdIrData, kCmdIrEnd;
//   42 bytes with 0x0B in byte 6: kCmdIrName;
//   10 bytes with 0x0B in byte 6: kCmdParamEcho (its two fields need all ten);
//   7..10 bytes without 0x0B in byte 6: the status rows.
// Any message of 10 bytes or less with 0x0B in byte 6 is ignored unless it is an echo, so
// a pedal's IR end must carry at least one group. kCmdWriteAckAlt and kCmdWriteNakAlt
// are reported as kCmdWriteAck and kCmdWriteNak, and 0x5F as kCmdAck.
std::optional<DeviceCommand> MatchFromDevice(std::span<const uint8_t> message);

// The editor-to-pedal row a message for the running pedal matches (used by the pedal
// simulator). Byte 6 is not examined: replayed bank messages keep the byte they carry.
// 0x5F is reported as kCmdEditorClosing.
std::optional<DeviceCommand> MatchToDevice(std::span<const uint8_t> message);

// Loader replies (model 0x02), 7..10 bytes, matched on bytes 1..5 only.
std::optional<LoaderCommand> MatchLoaderFromDevice(std::span<const uint8_t> message);

// Loader requests (model 0x02): enter (7), begin (250), data (9..249; a middle chunk of
// 247 bytes looks like a last chunk of 238 groups, only the sender's count tells them apart).
std::optional<LoaderCommand> MatchLoaderToDevice(std::span<const uint8_t> message);

// ---- Field readers ---------------------------------------------------------------------------

std::optional<uint8_t> ReadModel(std::span<const uint8_t> message);
std::optional<uint8_t> ReadCommand(std::span<const uint8_t> message);
// Byte 6: the format version, or the firmware version in tenths in the device-info block.
std::optional<uint8_t> ReadVersion(std::span<const uint8_t> message);

struct ParamEcho {
  int index = 0;  // parameter catalogue index
  int raw = 0;    // raw value
};
std::optional<ParamEcho> ReadParamEcho(std::span<const uint8_t> message);

// Bytes 8..263 of a 267-byte message: preset record, data block, or eight IR names.
std::optional<std::span<const uint8_t, kRecordSize>> ReadRecordData(
    std::span<const uint8_t> message);

// The 32 bytes at `offset`, when the message holds them.
std::optional<std::span<const uint8_t, kNameSize>> ReadName32Field(std::span<const uint8_t> message,
                                                                   std::size_t offset);
// The same field trimmed for display (TrimName32).
std::optional<std::string> ReadName32(std::span<const uint8_t> message, std::size_t offset);

}  // namespace qd3
