#pragma once

// Temporaries a cache write leaves behind when it is cut short (a crash or a kill between
// writing "<name>.tmp" and renaming it over the target). They are never read, but would
// pile up; the editor removes them at start-up, before the cache is used. Only one
// editor runs at a time, so no other process is writing them then.

#include <filesystem>

namespace qd3 {

// Removes every regular file named "NNN.dat.tmp" (three digits) in "Presets", "User IRs"
// and "Factory IRs" below `base`; any other file stays. Returns how many were removed.
int RemoveStaleTemporaries(const std::filesystem::path& base);

}  // namespace qd3
