#pragma once

// One reader per kind of file the inspector knows (see Inspect.h). Each renders the
// human-readable text or, with `json`, one JSON object; a broken file gives the reason.

#include <cstdint>
#include <span>

#include "cli/Inspect.h"
#include "presets/PresetFile.h"

namespace qd3::cli {

InspectOutput InspectPreset(const PresetFileData& file, std::span<const uint8_t> bytes, bool json);
InspectOutput InspectRecord(std::span<const uint8_t> bytes, bool json);
InspectOutput InspectBank(std::span<const uint8_t> bytes, bool json);
InspectOutput InspectIrImage(std::span<const uint8_t> bytes, bool json);
InspectOutput InspectFirmware(std::span<const uint8_t> bytes, bool json);

inline InspectOutput Broken(std::string reason) {
  InspectOutput out;
  out.error = std::move(reason);
  return out;
}
inline InspectOutput Shown(std::string text) {
  InspectOutput out;
  out.ok = true;
  out.text = std::move(text);
  if (out.text.empty() || out.text.back() != '\n') out.text.push_back('\n');
  return out;
}

}  // namespace qd3::cli
