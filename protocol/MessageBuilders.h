#pragma once

// One builder per message the editor sends. Each returns the whole message with its
// exact length. Pedal messages (model 0x03) carry the format version 0x0B in byte 6;
// loader messages (model 0x02) have no version byte.
//
// Arguments outside their field (slot 0..127, 7-bit values, 14-bit IR numbers, 21-bit
// group counts, data spans of the stated size) are programmer errors: they assert in
// debug builds; release builds clamp numbers into the field, mask data bytes to 7 bits
// and zero-fill short spans, so the message never breaks the SysEx framing.

#include <cstdint>
#include <span>

#include "protocol/Checksum14.h"
#include "protocol/DeviceMessages.h"

namespace qd3 {

// ---- 267-byte record messages: slot, 256-byte preset record, checksum ------------------------

Bytes BuildStorePreset(int slot, std::span<const uint8_t> record256);
Bytes BuildWriteFactoryPreset(int slot, std::span<const uint8_t> record256);
Bytes BuildRestorePreset(int slot, std::span<const uint8_t> record256);
Bytes BuildDataBlock(DataBlockType type, std::span<const uint8_t> data256);

// ---- Short requests and notices --------------------------------------------------------------

Bytes BuildSelectPreset(int n);
Bytes BuildRequestPreset(int slot);
Bytes BuildParamChange(int deviceParam, int value);
Bytes BuildRequestBlock(DataBlockType type);
Bytes BuildFactoryReset(int kind);  // kFactoryResetAll, kFactoryResetPresets, kFactoryResetSettings
Bytes BuildBulkBegin();
Bytes BuildBulkEnd();
Bytes BuildEditorClosing();
Bytes BuildRequestIr(int n);  // 14-bit IR number
Bytes BuildRequestIrNames(int group);

// ---- Impulse-response transfer chunks (256 groups each; also sent by the pedal) -------------

// 269 bytes: IR number, group count G of the whole transfer, the first 256 groups.
Bytes BuildIrBegin(int irNumber, int totalGroups, std::span<const uint8_t> first256);
// 264 bytes: the next 256 groups.
Bytes BuildIrData(std::span<const uint8_t> groups256);
// k + 10 bytes: the last k <= 256 groups and the checksum over all G groups.
Bytes BuildIrEnd(std::span<const uint8_t> lastK, Checksum14Pair checksum);

// ---- Firmware loader (240 groups per chunk) ----------------------------------------------------

Bytes BuildLoaderEnter();
// 250 bytes: group count G of the image, the first 240 groups.
Bytes BuildLoaderBegin(int totalGroups, std::span<const uint8_t> first240);
// 247 bytes: the next 240 groups.
Bytes BuildLoaderData(std::span<const uint8_t> groups240);
// k + 9 bytes: the last k <= 240 groups and the checksum over all G groups.
Bytes BuildLoaderLast(std::span<const uint8_t> lastK, Checksum14Pair checksum);

}  // namespace qd3
