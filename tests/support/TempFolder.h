#pragma once

// A fresh folder under the system's temporary folder, removed with everything in it when
// the test ends, and small file helpers for building cache folders by hand.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace qd3::test {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qd3-test-XXXXXX").string();
    const char* made = ::mkdtemp(pattern.data());
    if (made == nullptr) ADD_FAILURE() << "cannot create a temporary folder";
    mPath = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return mPath; }

 private:
  std::filesystem::path mPath;
};

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A 256-byte record file body: format 1.0 and `name` in bytes 2..33, space padded.
inline std::vector<uint8_t> RecordBytes(const std::string& name, uint8_t fill = 0) {
  std::vector<uint8_t> bytes(256, fill);
  bytes[0] = 1;
  bytes[1] = 0;
  for (std::size_t i = 0; i < 32; ++i) {
    bytes[2 + i] = i < name.size() ? static_cast<uint8_t>(name[i]) : uint8_t{' '};
  }
  return bytes;
}

// `name` padded with spaces to 32 characters.
inline std::string Padded32(const std::string& name) {
  return name + std::string(name.size() < 32 ? 32 - name.size() : 0, ' ');
}

}  // namespace qd3::test
