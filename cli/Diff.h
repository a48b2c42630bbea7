#pragma once

// qd3ctl diff: two preset files, or two bank files, compared parameter by parameter in the
// texts the editor's screens show ("Gain: 51.97 -> 61.42"), with names and user IRs.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qd3::cli {

struct DiffResult {
  bool ok = false;                 // both files were read and are of one kind
  std::string error;               // why not, when !ok
  std::vector<std::string> lines;  // one per difference; empty when the files are equal
};

// The bytes of two whole files, as read from disk.
DiffResult DiffFiles(std::span<const uint8_t> a, std::span<const uint8_t> b);

}  // namespace qd3::cli
