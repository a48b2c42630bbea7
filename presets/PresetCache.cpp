#include "presets/PresetCache.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <system_error>
#include <utility>

#include "presets/SlotLabels.h"

namespace qd3 {
namespace {

// Room for "%03d.dat" of any int and the terminator.
constexpr std::size_t kFileNameCapacity = 24;

bool IsSlot(int slot) {
  return slot >= 0 && slot < kPresetCount;
}

bool IsCacheFileName(const std::string& name) {
  return name.ends_with(kCacheFileSuffix);
}

// The entries of `folder` that are not directories and whose names end in ".dat", in
// listing order. A folder that cannot be listed has none.
std::vector<std::filesystem::path> ListCacheFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::error_code typeError;
    if (it->is_directory(typeError)) continue;
    if (IsCacheFileName(it->path().filename().string())) files.push_back(it->path());
  }
  return files;
}

std::optional<PresetRecord> ReadRecordFile(const std::filesystem::path& path) {
  // Only the first 256 bytes are the record; anything after them is ignored.
  const auto bytes = ReadFilePrefix(path, kPresetRecordSize);
  if (!bytes) return std::nullopt;
  return PresetRecord::FromPrefix(*bytes);
}

}  // namespace

std::string CacheFileName(int fileNumber) {
  char name[kFileNameCapacity];
  const int length = std::snprintf(name, sizeof name, "%03d.dat", fileNumber);
  return std::string(name, static_cast<std::size_t>(std::max(length, 0)));
}

PresetCache::PresetCache(std::filesystem::path baseFolder) : mBase(std::move(baseFolder)) {}

std::filesystem::path PresetCache::PresetsFolder() const {
  return mBase / kPresetsFolderName;
}

std::filesystem::path PresetCache::UserIrsFolder() const {
  return mBase / kUserIrsFolderName;
}

std::filesystem::path PresetCache::FactoryIrsFolder() const {
  return mBase / kFactoryIrsFolderName;
}

std::filesystem::path PresetCache::PresetFilePath(int slot) const {
  assert(IsSlot(slot));
  return PresetsFolder() / CacheFileName(slot + 1);
}

CacheWriteStatus PresetCache::WritePreset(int slot,
                                          std::span<const uint8_t, kPresetRecordSize> record) {
  assert(IsSlot(slot));
  if (!IsSlot(slot)) return CacheWriteStatus::kNoCacheFile;
  return WriteIntoFolder(PresetsFolder(), PresetFilePath(slot), record);
}

std::optional<PresetRecord> PresetCache::ReadPreset(int slot) const {
  assert(IsSlot(slot));
  if (!IsSlot(slot)) return std::nullopt;
  return ReadRecordFile(PresetFilePath(slot));
}

PresetList PresetCache::BuildListFromCache(int offset) const {
  PresetList list;
  const bool noFiles = FolderCertainlyEmpty(PresetsFolder());
  // A missing file reads as the all-zero buffer, whose checksum is (0, 0).
  static const Checksum14Pair kMissingChecksum = PresetRecord{}.Checksum();
  for (int slot = 0; slot < kPresetCount; ++slot) {
    const auto index = static_cast<std::size_t>(slot);
    const std::optional<PresetRecord> record = noFiles ? std::nullopt : ReadPreset(slot);
    list.labels[index] =
        record ? CachedSlotLabel(slot, offset, *record) : EmptySlotLabel(slot, offset);
    list.checksums[index] = record ? record->Checksum() : kMissingChecksum;
  }
  return list;
}

std::vector<RowLabel> PresetCache::ScanPresetsFolder(int offset) {
  std::vector<RowLabel> changes;
  if (!FileOpens(PresetFilePath(0))) {
    // The scan is the place where the folder first comes into being on a fresh machine.
    std::error_code ignored;
    std::filesystem::create_directories(PresetsFolder(), ignored);
    return changes;
  }
  // Rows follow the listing order on purpose: 001.dat and 003.dat label rows 0 and 1.
  // The list build by file number corrects the rows afterwards.
  for (const std::filesystem::path& file : ListCacheFiles(PresetsFolder())) {
    const int row = static_cast<int>(changes.size());
    if (row >= kPresetCount) break;
    // A file that vanished or does not open since the listing reads as all zeros.
    const PresetRecord record = ReadRecordFile(file).value_or(PresetRecord{});
    changes.push_back({row, CachedSlotLabel(row, offset, record)});
  }
  return changes;
}

int PresetCache::DeleteCachedDatFiles() {
  const std::lock_guard lock(mWriteMutex);
  int undeleted = 0;
  for (const auto& folder : {PresetsFolder(), UserIrsFolder(), FactoryIrsFolder()}) {
    for (const std::filesystem::path& file : ListCacheFiles(folder)) {
      std::error_code error;
      std::filesystem::remove(file, error);
      if (error) ++undeleted;
    }
  }
  return undeleted;
}

ClearCacheResult PresetCache::ClearCache(int offset) {
  ClearCacheResult result;
  result.undeletedFiles = DeleteCachedDatFiles();
  result.scanned = ScanPresetsFolder(offset);
  result.list = BuildListFromCache(offset);
  return result;
}

CacheWriteStatus PresetCache::WriteIntoFolder(const std::filesystem::path& folder,
                                              const std::filesystem::path& target,
                                              std::span<const uint8_t> bytes) {
  const std::lock_guard lock(mWriteMutex);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !std::filesystem::is_directory(folder, error)) {
    return CacheWriteStatus::kFolderUnavailable;
  }
  return WriteFileReplacing(target, bytes);
}

}  // namespace qd3
