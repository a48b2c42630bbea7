#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qd3 {

// One INI file with the semantics the settings rely on: every call reads the file
// afresh, section and key names match without regard to case, a missing file,
// section or key gives the caller's default, and a write changes one key while
// keeping every other section, key and comment line as it was. Writes go to a
// temporary file beside the target that is then renamed over it, so a crash never
// leaves half a file behind.
class IniFile {
 public:
  explicit IniFile(std::filesystem::path path) : mPath(std::move(path)) {}

  const std::filesystem::path& Path() const { return mPath; }

  // The key's value as a whole decimal number; text that does not start with a
  // number gives 0, a missing key the default (GetPrivateProfileInt's rules).
  long GetInt(std::string_view section, std::string_view key, long defaultValue) const;
  // The value with surrounding blanks removed, cut to maxLength characters (and trimmed
  // again after the cut). A UTF-8 byte-order mark at the start of the file is skipped.
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view defaultValue, size_t maxLength = 1024) const;
  // Adds or replaces the key (the section is appended when missing). False when
  // the file cannot be written; the old file then stays as it was.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);

 private:
  std::filesystem::path mPath;
};

// Case-insensitive comparison of ASCII names.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace qd3
