#include "presets/StaleTemporaries.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

#include "presets/CacheFileIo.h"
#include "presets/PresetCache.h"
#include "presets/SafetyBackup.h"

namespace qd3 {
namespace {

constexpr std::size_t kNumberDigits = 3;
constexpr std::string_view kDatSuffix = ".dat";

// "NNN.dat": the name of a cache file (slot + 1, IR number + 1, never above 384).
bool IsCacheFileName(std::string_view name) {
  if (!name.ends_with(kDatSuffix)) return false;
  const std::string_view number = name.substr(0, name.size() - kDatSuffix.size());
  return number.size() == kNumberDigits && std::all_of(number.begin(), number.end(), [](char c) {
           return std::isdigit(static_cast<unsigned char>(c)) != 0;
         });
}

bool IsFactoryWavName(std::string_view name) {
  return std::find(kFactoryIrWavNames.begin(), kFactoryIrWavNames.end(), name) !=
         kFactoryIrWavNames.end();
}

// Removes the temporaries in `folder` whose target name `isOurs` accepts.
int RemoveIn(const std::filesystem::path& folder,
             const std::function<bool(std::string_view)>& isOurs) {
  int removed = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (!name.ends_with(kTempFileSuffix)) continue;
    const std::string_view target(name.data(),
                                  name.size() - std::string_view(kTempFileSuffix).size());
    if (isOurs(target) && RemoveStaleTempFile(entry.path())) ++removed;
  }
  return removed;
}

}  // namespace

int RemoveStaleTemporaries(const std::filesystem::path& base) {
  int removed = RemoveIn(base / kPresetsFolderName, IsCacheFileName);
  removed += RemoveIn(base / kUserIrsFolderName, IsCacheFileName);
  removed += RemoveIn(base / kFactoryIrsFolderName, [](std::string_view target) {
    return IsCacheFileName(target) || IsFactoryWavName(target);
  });
  removed += RemoveIn(base / kBackupsFolderName, IsSafetyBackupName);
  return removed;
}

bool RemoveStaleTemporaryOf(const std::filesystem::path& target) {
  return !target.empty() && RemoveStaleTempFile(TempPathFor(target));
}

}  // namespace qd3
