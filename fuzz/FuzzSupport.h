#pragma once

// Small helpers shared by the fuzz targets: a check that aborts (so libFuzzer keeps the
// input), splitting an input into SysEx messages, and a temporary folder per process.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

namespace qd3::fuzz {

inline constexpr uint8_t kEndOfExclusive = 0xF7;

// Pieces ending with each 0xF7 (inclusive); a tail without one is the last piece.
inline std::vector<std::span<const uint8_t>> SplitAtEndBytes(std::span<const uint8_t> bytes) {
  std::vector<std::span<const uint8_t>> pieces;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == kEndOfExclusive) {
      pieces.push_back(bytes.subspan(start, i + 1 - start));
      start = i + 1;
    }
  }
  if (start < bytes.size()) pieces.push_back(bytes.subspan(start));
  return pieces;
}

// One folder below the system's temporary folder for this process, emptied on request.
inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() / ("qd3-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

inline void EmptyFolder(const std::filesystem::path& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder, ignored);
}

}  // namespace qd3::fuzz
