#include "host/app/IniFile.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace qd3 {
namespace {

std::string_view Trim(std::string_view text) {
  const auto notBlank = [](char c) { return c != ' ' && c != '\t' && c != '\r' && c != '\n'; };
  size_t begin = 0;
  while (begin < text.size() && !notBlank(text[begin])) ++begin;
  size_t end = text.size();
  while (end > begin && !notBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// Editors on other systems save UTF-8 text with a byte-order mark; left in place it would
// turn the first line "[audio]" into a line that is no section header.
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    // Every leading mark: a file saved twice by such an editor may carry two.
    while (lines.empty() && line.starts_with(kUtf8ByteOrderMark)) {
      line.erase(0, kUtf8ByteOrderMark.size());
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

// "[name]" gives name; anything else gives nothing.
std::optional<std::string_view> SectionName(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  const size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// "key=value" gives key and value; comments and other lines give nothing.
std::optional<std::pair<std::string_view, std::string_view>> KeyValue(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '#') return std::nullopt;
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return std::pair{Trim(t.substr(0, eq)), Trim(t.substr(eq + 1))};
}

std::optional<std::string> Lookup(const std::filesystem::path& path, std::string_view section,
                                  std::string_view key) {
  bool inSection = false;
  for (const std::string& line : ReadLines(path)) {
    if (auto name = SectionName(line)) {
      inSection = EqualsNoCase(*name, section);
      continue;
    }
    if (!inSection) continue;
    if (auto kv = KeyValue(line); kv && EqualsNoCase(kv->first, key)) {
      return std::string(kv->second);
    }
  }
  return std::nullopt;
}

bool WriteAtomically(const std::filesystem::path& path, const std::string& text) {
  const std::filesystem::path temp = path.string() + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << text;
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temp, path, error);
  if (error) {
    std::filesystem::remove(temp, error);
    return false;
  }
  return true;
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

long IniFile::GetInt(std::string_view section, std::string_view key, long defaultValue) const {
  const auto value = Lookup(mPath, section, key);
  if (!value) return defaultValue;
  return std::strtol(value->c_str(), nullptr, 10);
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view defaultValue, size_t maxLength) const {
  const auto value = Lookup(mPath, section, key);
  std::string text = value ? *value : std::string(defaultValue);
  // Trimmed after the cut as well: a value cut just after a blank would otherwise differ
  // from what the next read of the written-back value gives, and be rewritten every start.
  if (text.size() > maxLength)
    text = std::string(Trim(std::string_view(text).substr(0, maxLength)));
  return text;
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::vector<std::string> lines = ReadLines(mPath);
  const std::string entry = std::string(key) + "=" + std::string(value);

  // Find the section; within it replace the key, or add it after the section's
  // last key line.
  bool inSection = false;
  bool sectionSeen = false;
  bool replaced = false;
  size_t insertAt = lines.size();
  for (size_t i = 0; i < lines.size() && !replaced; ++i) {
    if (auto name = SectionName(lines[i])) {
      if (inSection) break;
      inSection = EqualsNoCase(*name, section);
      if (inSection) {
        sectionSeen = true;
        insertAt = i + 1;
      }
      continue;
    }
    if (!inSection) continue;
    if (auto kv = KeyValue(lines[i])) {
      if (EqualsNoCase(kv->first, key)) {
        lines[i] = entry;
        replaced = true;
        continue;
      }
      insertAt = i + 1;
    }
  }
  if (replaced) {
    // the key kept its line
  } else if (sectionSeen) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
  } else {
    // Built by appending: "[" + std::string + "]" trips a false -Wrestrict in
    // GCC 12's optimiser.
    std::string header(1, '[');
    header.append(section);
    header.push_back(']');
    lines.push_back(std::move(header));
    lines.push_back(entry);
  }

  std::ostringstream text;
  for (const std::string& line : lines) text << line << '\n';
  return WriteAtomically(mPath, text.str());
}

}  // namespace qd3
