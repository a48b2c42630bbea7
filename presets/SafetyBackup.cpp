#include "presets/SafetyBackup.h"

#include <cstdio>

#include "presets/SlotLabels.h"
#include "protocol/DeviceMessages.h"

namespace qd3 {
namespace {

constexpr int kTmYearBase = 1900;
constexpr std::size_t kNameBufferSize = 64;
// The form of the names below: '#' stands for one digit.
constexpr std::string_view kBackupNamePattern = "QD3 backup ####-##-## ######.q3b";

}  // namespace

std::filesystem::path SafetyBackupPath(const std::filesystem::path& baseFolder,
                                       const std::tm& localTime) {
  char name[kNameBufferSize];
  std::snprintf(name, sizeof name, "QD3 backup %04d-%02d-%02d %02d%02d%02d.q3b",
                localTime.tm_year + kTmYearBase, localTime.tm_mon + 1, localTime.tm_mday,
                localTime.tm_hour, localTime.tm_min, localTime.tm_sec);
  return baseFolder / kBackupsFolderName / name;
}

bool IsSafetyBackupName(std::string_view fileName) {
  if (fileName.size() != kBackupNamePattern.size()) return false;
  for (std::size_t i = 0; i < fileName.size(); ++i) {
    const char want = kBackupNamePattern[i];
    const bool digit = fileName[i] >= '0' && fileName[i] <= '9';
    if (want == '#' ? !digit : fileName[i] != want) return false;
  }
  return true;
}

std::string RestoreVerificationText(std::span<const int> differingSlots, int patchOffset,
                                    int presetsInFile) {
  if (differingSlots.empty()) {
    if (presetsInFile == kPresetCount) return kTextRestoreVerified;
    if (presetsInFile == 1) return "The file's preset was restored and verified.";
    return "All " + std::to_string(presetsInFile) + " presets of the file restored and verified.";
  }
  std::string text = differingSlots.size() == 1 ? "Preset " : "Presets ";
  for (std::size_t i = 0; i < differingSlots.size(); ++i) {
    if (i > 0) text += ", ";
    text += SlotNumberText(differingSlots[i], patchOffset);
  }
  text += differingSlots.size() == 1 ? " differs from the imported file."
                                     : " differ from the imported file.";
  return text;
}

}  // namespace qd3
