#include "cli/Inspect.h"

#include <algorithm>
#include <cctype>

#include "cli/InspectKinds.h"
#include "presets/IrFileLayout.h"
#include "presets/PresetRecord.h"
#include "protocol/DeviceMessages.h"
#include "protocol/FirmwareStream.h"

namespace qd3::cli {
namespace {

constexpr uint8_t kIrImageFormatWord = 1;

bool HasPresetMagic(std::span<const uint8_t> bytes) {
  return bytes.size() >= kPresetFileMagicSize &&
         std::equal(kPresetFileMagic.begin(), kPresetFileMagic.end(), bytes.begin());
}

bool IsSevenBitClean(std::span<const uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b <= kDataMask; });
}

bool LooksLikeRecord(std::span<const uint8_t> bytes) {
  return bytes.size() == kPresetRecordSize && bytes[kFormatMajorOffset] == kPresetFormatMajor &&
         bytes[kFormatMinorOffset] == kPresetFormatMinor && IsSevenBitClean(bytes);
}

bool LooksLikeIrImage(std::span<const uint8_t> bytes) {
  return bytes.size() == kIrFileSize && bytes[kIrFileFormatOffset] == kIrImageFormatWord &&
         bytes[kIrFileFormatOffset + 1] == 0;
}

bool HasFirmwareExtension(std::string_view path) {
  const std::string_view ext = ".ldr";
  if (path.size() < ext.size()) return false;
  const std::string_view tail = path.substr(path.size() - ext.size());
  return std::equal(tail.begin(), tail.end(), ext.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
}

InspectOutput InspectPresetFile(std::span<const uint8_t> bytes, bool json) {
  if (bytes.size() >= kPresetFileSizeLimit) {
    return Broken("preset file of " + std::to_string(bytes.size()) +
                  " bytes: a preset file is smaller than 8192 bytes");
  }
  if (bytes.size() < kPresetFileHeaderSize) {
    return Broken("preset file cut short: " + std::to_string(bytes.size()) + " of " +
                  std::to_string(kPresetFileHeaderSize) + " header bytes");
  }
  const PresetFileData file = ReadPresetFile(bytes);
  if (file.status == PresetFileStatus::kUnsupportedVersion) {
    return Broken(
        "preset file version " +
        VersionText(bytes[kPresetFileVersionMajorOffset], bytes[kPresetFileVersionMinorOffset]) +
        " is newer than 1.0, the newest this program reads");
  }
  if (file.status != PresetFileStatus::kRead) return Broken("not a readable preset file");
  return InspectPreset(file, bytes, json);
}

}  // namespace

InspectOutput InspectFileBytes(std::span<const uint8_t> bytes, std::string_view path, bool json) {
  if (bytes.empty()) return Broken("the file is empty");
  if (HasPresetMagic(bytes)) return InspectPresetFile(bytes, json);
  if (bytes[0] == kSysExStart) return InspectBank(bytes, json);
  if (LooksLikeRecord(bytes)) return InspectRecord(bytes, json);
  if (LooksLikeIrImage(bytes)) return InspectIrImage(bytes, json);
  if (HasFirmwareExtension(path)) return InspectFirmware(bytes, json);
  return Broken("not a preset file, bank file, preset record, IR image or firmware image (.ldr)");
}

}  // namespace qd3::cli
