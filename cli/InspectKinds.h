#pragma once

// One reader per kind of file the inspector knows (see Inspect.h). Each renders the
// human-readable text or, with `json`, one JSON object; a broken file gives the reason.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "cli/Inspect.h"
#include "presets/PresetFile.h"
#include "protocol/IrReceiveState.h"

namespace qd3::cli {

InspectOutput InspectPreset(const PresetFileData& file, std::span<const uint8_t> bytes, bool json);
InspectOutput InspectRecord(std::span<const uint8_t> bytes, bool json);
InspectOutput InspectBank(std::span<const uint8_t> bytes, bool json);
// The walk the bank import makes: each preset dump as it stands, and each IR transfer
// that arrived whole.
void WalkBank(std::span<const uint8_t> bytes,
              const std::function<void(std::span<const uint8_t> dump)>& onDump,
              const std::function<void(const IrReceiveResult& ir)>& onIr);
InspectOutput InspectIrImage(std::span<const uint8_t> bytes, bool json);
InspectOutput InspectFirmware(std::span<const uint8_t> bytes, bool json);

// A name field as a list shows it: up to its first NUL byte (the factory leaves unused IR
// names as zero bytes), trailing spaces removed.
std::string ShownName(std::string name);
// Text read from a file, made safe to print: every byte outside printable ASCII becomes
// \xHH and a backslash is doubled, so that a name cannot move the cursor, recolour or
// retitle the terminal, and two different names never print alike.
std::string EscapedForTerminal(std::string_view text);
// "major.minor" of a file's two version bytes; when either reads as a negative number,
// the bytes themselves ("bytes 0xFF 0xFF").
std::string VersionText(uint8_t major, uint8_t minor);
// `text` with spaces appended up to `width` characters.
std::string PaddedTo(std::string text, std::size_t width);

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
