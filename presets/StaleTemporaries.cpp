#include "presets/StaleTemporaries.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <system_error>

#include "presets/CacheFileIo.h"
#include "presets/PresetCache.h"

namespace qd3 {
namespace {

constexpr std::size_t kNumberDigits = 3;
constexpr std::string_view kDatSuffix = ".dat";

// "NNN.dat.tmp": the temporary CacheFileIo writes for a "%03d.dat" target.
bool IsCacheTemporary(std::string_view name) {
  const std::string tail = std::string(kDatSuffix) + kTempFileSuffix;
  if (name.size() != kNumberDigits + tail.size() || !name.ends_with(tail)) return false;
  return std::all_of(name.begin(), name.begin() + kNumberDigits,
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

int RemoveStaleTemporaries(const std::filesystem::path& base) {
  int removed = 0;
  for (const std::string_view folder :
       {kPresetsFolderName, kUserIrsFolderName, kFactoryIrsFolderName}) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(base / folder, error)) {
      std::error_code entryError;
      if (!entry.is_regular_file(entryError)) continue;
      if (!IsCacheTemporary(entry.path().filename().string())) continue;
      if (std::filesystem::remove(entry.path(), entryError)) ++removed;
    }
  }
  return removed;
}

}  // namespace qd3
