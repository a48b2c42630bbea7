#pragma once

#include <filesystem>

namespace qd3 {

// The editor's folder for settings, cache and manual: $XDG_DATA_HOME/QD3Control,
// with ~/.local/share when XDG_DATA_HOME is unset or not absolute. Created when
// missing (errors are left to the first file operation to show).
std::filesystem::path EditorBaseFolder();

}  // namespace qd3
