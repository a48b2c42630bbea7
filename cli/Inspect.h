#pragma once

// What `qd3ctl inspect` says about a file. The kind is found from the content: a preset
// file by its "QRBP" magic, a bank by its first byte 0xF0 and a clean walk of its
// messages, a cache record by its 256 bytes of format 1.0, an IR image by its 2436 bytes
// with format word 1. A firmware image has no mark of its own: a file that is none of
// those counts as one only when its name ends in ".ldr".

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qd3::cli {

struct InspectOutput {
  bool ok = false;
  std::string text;   // what goes to stdout (ends with a newline)
  std::string error;  // one line for stderr when not ok
};

InspectOutput InspectFileBytes(std::span<const uint8_t> bytes, std::string_view path, bool json);

}  // namespace qd3::cli
