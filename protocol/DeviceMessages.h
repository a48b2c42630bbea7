#pragma once

// The QD3 SysEx vocabulary: envelope bytes, command numbers, data-block types and
// every message length and byte offset the codec uses.
//
// Envelope of every message (byte positions from 0):
//   0      0xF0 start of System Exclusive
//   1..3   00 3F 6B manufacturer ID
//   4      model: 0x03 running pedal, 0x02 its firmware loader
//   5      command
//   6      0x0B format version (pedal messages only; loader payloads start here)
//   ...    payload, 7-bit data bytes only
//   n-1    0xF7 end of System Exclusive
// Numbers wider than 7 bits travel as 7-bit bytes, most significant first.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qd3 {

using Bytes = std::vector<uint8_t>;

// ---- Envelope -------------------------------------------------------------------------------

inline constexpr uint8_t kSysExStart = 0xF0;
inline constexpr uint8_t kSysExEnd = 0xF7;
inline constexpr std::array<uint8_t, 3> kManufacturerId = {0x00, 0x3F, 0x6B};
inline constexpr uint8_t kModelDevice = 0x03;
inline constexpr uint8_t kModelLoader = 0x02;
// Read as version 1.1. The device-info reply reuses this byte for the firmware version.
inline constexpr uint8_t kFormatVersion = 0x0B;
inline constexpr uint8_t kDataMask = 0x7F;  // every payload byte is 0..127

inline constexpr std::size_t kStartOffset = 0;
inline constexpr std::size_t kManufacturerOffset = 1;
inline constexpr std::size_t kModelOffset = 4;
inline constexpr std::size_t kCommandOffset = 5;
inline constexpr std::size_t kVersionOffset = 6;
inline constexpr std::size_t kPayloadOffset = 7;        // pedal messages
inline constexpr std::size_t kLoaderPayloadOffset = 6;  // loader messages have no version byte
inline constexpr std::size_t kEndSize = 1;              // the trailing 0xF7

// ---- Commands -------------------------------------------------------------------------------

// Command byte (byte 5) of messages to and from the running pedal (model 0x03).
// Two pairs share a value: the editor's closing notice and the pedal's plain
// acknowledgement are both 0x5F, told apart only by direction.
enum DeviceCommand : uint8_t {
  kCmdStorePreset = 0x20,         // E->D 267: slot, record, checksum
  kCmdSelectPreset = 0x23,        // E->D 9: preset number
  kCmdRequestPreset = 0x40,       // E->D 9: slot
  kCmdPresetDump = 0x41,          // D->E 267: as store
  kCmdParamChange = 0x50,         // E->D 10: device parameter number, value
  kCmdParamEcho = 0x51,           // D->E <=10: catalogue index, raw value
  kCmdDataBlock = 0x52,           // both 267: block type, 256 data bytes, checksum
  kCmdRequestBlock = 0x55,        // E->D 9: block type
  kCmdFactoryReset = 0x56,        // E->D 9: reset kind
  kCmdResetDone = 0x57,           // D->E status
  kCmdBulkBegin = 0x5A,           // E->D 8
  kCmdBulkEnd = 0x5B,             // E->D 8
  kCmdEditorClosing = 0x5F,       // E->D 8
  kCmdAck = 0x5F,                 // D->E status
  kCmdIrBegin = 0x60,             // both 269: IR number, group count, first 256 groups
  kCmdIrStored = 0x61,            // D->E status
  kCmdDeviceError = 0x62,         // D->E status
  kCmdIrChunkAck = 0x63,          // D->E status
  kCmdIrData = 0x65,              // both 264: next 256 groups
  kCmdIrEnd = 0x66,               // both k+10: last k groups, checksum
  kCmdRequestIr = 0x69,           // E->D 10: IR number
  kCmdRequestIrNames = 0x6A,      // E->D 9: name group
  kCmdIrNames = 0x6B,             // D->E 267: name group, eight names, checksum
  kCmdWriteAck = 0x71,            // D->E status
  kCmdWriteNak = 0x72,            // D->E status
  kCmdWriteNext = 0x73,           // D->E status
  kCmdRestoreIrBegin = 0x77,      // E->D 269: as IR begin
  kCmdRestoreIrData = 0x78,       // E->D 264: as IR data
  kCmdRestoreIrEnd = 0x79,        // E->D k+10: as IR end
  kCmdIrName = 0x7B,              // D->E 42: one name
  kCmdWriteFactoryPreset = 0x7C,  // E->D 267: as store
  kCmdWriteAckAlt = 0x7D,         // D->E status, same meaning as kCmdWriteAck
  kCmdWriteNakAlt = 0x7E,         // D->E status, same meaning as kCmdWriteNak
  kCmdRestorePreset = 0x7F,       // E->D 267: as store
};

// Command byte (byte 5) of messages to and from the firmware loader (model 0x02).
enum LoaderCommand : uint8_t {
  kLoaderEnter = 0x10,   // E->D 7
  kLoaderReady = 0x12,   // D->E <=10
  kLoaderBegin = 0x13,   // E->D 250: group count, first 240 groups
  kLoaderDone = 0x14,    // D->E <=10
  kLoaderFailed = 0x15,  // D->E <=10
  kLoaderData = 0x20,    // E->D 247 (middle) or k+9 (last, with checksum)
};

// Byte 7 of kCmdDataBlock and kCmdRequestBlock.
enum DataBlockType : uint8_t {
  kBlockGlobalSettings = 0,
  kBlockControllerMap = 1,
  kBlockProgramMap = 2,
  kBlockPresetChecksums = 3,
  kBlockDeviceInfo = 15,
};

// Byte 7 of kCmdFactoryReset.
inline constexpr int kFactoryResetAll = 0;
inline constexpr int kFactoryResetPresets = 1;
inline constexpr int kFactoryResetSettings = 2;

// ---- Message lengths (total bytes, 0xF0 and 0xF7 included) ----------------------------------

inline constexpr std::size_t kNoPayloadSize = 8;       // bulk begin/end, editor closing
inline constexpr std::size_t kOneByteRequestSize = 9;  // select, request preset/block, reset
inline constexpr std::size_t kParamChangeSize = 10;
inline constexpr std::size_t kParamEchoSize = 10;
inline constexpr std::size_t kRequestIrSize = 10;
inline constexpr std::size_t kRecordMessageSize = 267;  // store, dump, data block, IR names
inline constexpr std::size_t kStatusReplySize = 7;      // what the pedal sends as a status
inline constexpr std::size_t kStatusMinSize = 7;        // envelope, command and 0xF7
inline constexpr std::size_t kStatusMaxSize = 10;       // "status" rows: any length up to this
inline constexpr std::size_t kIrNameMessageSize = 42;
inline constexpr std::size_t kIrBeginSize = 269;
inline constexpr std::size_t kIrDataSize = 264;
inline constexpr std::size_t kIrEndOverhead = 10;  // IR end is k + 10 bytes
inline constexpr std::size_t kLoaderEnterSize = 7;
inline constexpr std::size_t kLoaderReplySize = 7;
inline constexpr std::size_t kLoaderBeginSize = 250;
inline constexpr std::size_t kLoaderDataSize = 247;
inline constexpr std::size_t kLoaderLastOverhead = 9;  // last loader chunk is k + 9 bytes

// ---- Payload layouts --------------------------------------------------------------------------

// One-byte requests and the 267-byte record messages: byte 7 is the slot, block type or
// name group; bytes 8..263 the 256 data bytes; 264/265 their checksum hi/lo.
inline constexpr std::size_t kSelectorOffset = 7;
inline constexpr std::size_t kRecordOffset = 8;
inline constexpr std::size_t kRecordSize = 256;
inline constexpr std::size_t kChecksumHiOffset = 264;
inline constexpr std::size_t kChecksumLoOffset = 265;
inline constexpr int kPresetCount = 128;

// Parameter change and echo: byte 7 parameter number, byte 8 value.
inline constexpr std::size_t kParamNumberOffset = 7;
inline constexpr std::size_t kParamValueOffset = 8;

// 14-bit IR number of kCmdRequestIr and kCmdIrBegin.
inline constexpr std::size_t kIrNumberOffset = 7;

// Names are 32 characters, space padded.
inline constexpr std::size_t kNameSize = 32;
inline constexpr uint8_t kNamePad = ' ';
inline constexpr std::size_t kIrNamesPerGroup = 8;
inline constexpr std::size_t kIrNamesOffset = 8;  // kCmdIrNames: name k at 8 + 32k
inline constexpr std::size_t kIrNameOffset = 7;   // kCmdIrName: bytes 7..38; 39..40 unused

// Device-info block: byte 6 firmware version in tenths, data bytes 224..255 the serial.
inline constexpr std::size_t kSerialOffset = 232;
inline constexpr std::size_t kSerialSize = 32;

// IR transfer chunks (model 0x03).
inline constexpr std::size_t kIrChunkGroups = 256;
inline constexpr std::size_t kIrGroupCountOffset = 9;  // 21-bit group count G, bytes 9..11
inline constexpr std::size_t kIrBeginGroupsOffset = 12;
inline constexpr std::size_t kIrDataGroupsOffset = 7;
inline constexpr std::size_t kIrEndGroupsOffset = 7;

// Firmware loader chunks (model 0x02).
inline constexpr std::size_t kLoaderChunkGroups = 240;
inline constexpr std::size_t kLoaderGroupCountOffset = 6;  // 21-bit group count G, bytes 6..8
inline constexpr std::size_t kLoaderBeginGroupsOffset = 9;
inline constexpr std::size_t kLoaderDataGroupsOffset = 6;

// ---- Numbers, checksum and buffers ----------------------------------------------------------

inline constexpr int kMax7 = 0x7F;
inline constexpr int kMax14 = 0x3FFF;
inline constexpr int kMax21 = 0x1FFFFF;
inline constexpr int kBitsPer7BitByte = 7;
inline constexpr uint32_t kChecksumModulus = 16384;        // checksums are the sum modulo 2^14
inline constexpr std::size_t kIrReceiveBufferSize = 4096;  // bytes of one incoming IR
inline constexpr std::size_t kTransferBufferSize = 65536;  // groups of one outgoing transfer

}  // namespace qd3
