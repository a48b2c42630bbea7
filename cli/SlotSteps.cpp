#include "cli/SlotSteps.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <system_error>

#include "cli/ExitCodes.h"
#include "cli/InspectKinds.h"
#include "presets/PresetFile.h"
#include "presets/SafetyBackup.h"
#include "presets/SlotLabels.h"
#include "protocol/Name32.h"

namespace qd3::cli {
namespace {

constexpr int kTmYearBase = 1900;

std::string FieldBytes(std::span<const uint8_t, kNameSize> field) {
  return std::string(field.begin(), field.end());
}

}  // namespace

std::optional<int> SlotIndexOnPedal(const SessionDriver& driver, int shown, std::ostream& err) {
  const int offset = driver.PatchOffset();
  const int slot = shown - offset;
  if (slot >= 0 && slot < kPresetCount) return slot;
  err << "qd3ctl: the pedal has no preset " << shown << ": it numbers them " << offset << ".."
      << kPresetCount - 1 + offset << " (its PATCH OFFSET)\n";
  return std::nullopt;
}

int ReadSlotAsPresetFile(SessionDriver& driver, int slot, SlotAsFile& file, std::ostream& err) {
  const std::string shown = SlotNumberText(slot, driver.PatchOffset());
  PresetRecord record;
  const DriverOutcome got = driver.FetchRecord(slot, record);
  if (!got.Ok()) {
    err << "qd3ctl: " << got.message << '\n';
    return got.exitCode;
  }
  std::array<int, kRecordParamCount> params{};
  for (int i = 0; i < kRecordParamCount; ++i) params[static_cast<std::size_t>(i)] = record.Param(i);

  std::map<int, IrImageBytes> images;
  for (const int number : ExportedIrNumbers(params)) {
    if (images.contains(number)) continue;
    Bytes image;
    const DriverOutcome ir = driver.FetchIr(number, image);
    if (!ir.Ok()) {
      err << "qd3ctl: user IR " << number << " of preset " << shown << ": " << ir.message << '\n';
      return ir.exitCode;
    }
    if (image.size() != kIrFileSize) {
      err << "qd3ctl: user IR " << number << " of preset " << shown << " came as " << image.size()
          << " bytes, not one " << kIrFileSize << "-byte IR image\n";
      return kExitPedalFailed;
    }
    std::copy(image.begin(), image.end(), images[number].begin());
  }
  // The name and IR names byte for byte: bytes 4..102 of the file equal the record's 0..98.
  const std::string name = FieldBytes(record.NameField());
  const std::string label7 = FieldBytes(record.UserIrNameField(UserIrPosition::kPosition7));
  const std::string label8 = FieldBytes(record.UserIrNameField(UserIrPosition::kPosition8));
  const PresetFileExport content{name, params, label7, label8};
  file.bytes = BuildPresetFile(content, [&](int n) -> std::optional<IrImageBytes> {
    const auto found = images.find(n);
    return found == images.end() ? std::nullopt : std::optional(found->second);
  });
  file.irBlocks = static_cast<int>((file.bytes.size() - kPresetFileHeaderSize) / kIrFileSize);
  file.record = record;
  return kExitOk;
}

int WritePresetFileTo(const std::filesystem::path& path, const std::vector<uint8_t>& bytes,
                      std::ostream& err) {
  std::error_code error;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
  const CacheWriteStatus written =
      error ? CacheWriteStatus::kFolderUnavailable : SavePresetFile(path, bytes);
  if (!Succeeded(written)) {
    err << "qd3ctl: " << path.string() << ": " << WriteFailureText(written, path) << '\n';
    return kExitBadFile;
  }
  return kExitOk;
}

std::filesystem::path SlotSafetyCopyPath(const std::filesystem::path& baseFolder,
                                         const std::string& shownSlot, const std::tm& localTime) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d%02d%02d", localTime.tm_year + kTmYearBase,
                localTime.tm_mon + 1, localTime.tm_mday, localTime.tm_hour, localTime.tm_min,
                localTime.tm_sec);
  // Appended piece by piece: GCC 12 at -O3 warns (wrongly) about "literal" + string.
  std::string name = "QD3 preset ";
  name.append(shownSlot).append(" ").append(stamp).append(".").append(kPresetFileExtension);
  return baseFolder / kBackupsFolderName / name;
}

std::string ShownPresetName(const PresetRecord& record) {
  return EscapedForTerminal(ShownName(TrimName32(record.NameField())));
}

}  // namespace qd3::cli
