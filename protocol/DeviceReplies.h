#pragma once

// Builders for the messages the pedal sends, for the pedal simulator and for tests of the
// receiving side. Same conventions as the editor's builders: exact lengths, arguments
// out of their field assert and are clamped in release builds.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "protocol/DeviceMessages.h"

namespace qd3 {

// 267 bytes: slot, 256-byte preset record, checksum.
Bytes BuildPresetDump(int slot, std::span<const uint8_t> record256);
// 10 bytes: catalogue index (0..127), raw value.
Bytes BuildParamEcho(int index, int raw);
// 7 bytes F0 00 3F 6B 03 cc F7. Status replies never carry the version in byte 6.
// `command` must be one of the status rows (see IsStatusCommand).
Bytes BuildStatus(DeviceCommand command);
// 7 bytes F0 00 3F 6B 02 cc F7 for kLoaderReady, kLoaderDone or kLoaderFailed.
Bytes BuildLoaderReply(LoaderCommand command);
// 267-byte data block of type 15: firmware version in tenths in byte 6 (11 is 1.1), the
// serial number space padded to 32 characters in bytes 232..263, all other data 0.
Bytes BuildDeviceInfo(int version, std::string_view serial32);
// 267 bytes: name group, eight space-padded names of 32 bytes, checksum. `names` holds
// eight names; missing ones are sent blank.
Bytes BuildIrNames(int group, std::span<const std::string> names);
// 42 bytes: one space-padded name in bytes 7..38; bytes 39..40 are sent as 0.
Bytes BuildIrName(std::string_view name);

}  // namespace qd3
