#include "host/app/ManualFile.h"

#include <unistd.h>

#include <fstream>
#include <string>

namespace qd3 {

std::filesystem::path EnsureManualFile(const std::filesystem::path& baseFolder,
                                       std::span<const unsigned char> bytes) {
  const std::filesystem::path path = baseFolder / kManualFileName;
  if (std::ifstream(path, std::ios::binary).is_open()) return path;

  const std::filesystem::path temp = path.string() + ".tmp" + std::to_string(::getpid());
  bool written = false;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    written = static_cast<bool>(out.flush());
  }
  std::error_code error;
  if (written) std::filesystem::rename(temp, path, error);
  if (!written || error) std::filesystem::remove(temp, error);
  return path;
}

}  // namespace qd3
