#pragma once

#include <filesystem>
#include <span>

namespace qd3 {

inline constexpr char kManualFileName[] = "Ravenhold_Tolvane_OM1.pdf";
inline constexpr int kManualResourceId = 102;

// The manual in the base folder, written from `bytes` when the file cannot be
// opened for reading (an existing file is left as it is). Returns the file's
// path whether or not the write succeeded: the viewer is asked to open it anyway.
std::filesystem::path EnsureManualFile(const std::filesystem::path& baseFolder,
                                       std::span<const unsigned char> bytes);

}  // namespace qd3
