#pragma once

// Temporaries our crash-safe writes leave behind when they are cut short (a crash or a
// kill between writing "<name>.tmp" and renaming it over the target). They are never
// read, but would pile up; the editor removes them at start-up, before the cache is used.
// Only names our writes make are touched, and a temporary that another of our programs
// is writing at that moment (qd3ctl making a safety backup) holds a lock and stays.

#include <filesystem>

namespace qd3 {

// Removes, below `base`, the regular files named
//   "NNN.dat.tmp" (three digits) in "Presets", "User IRs" and "Factory IRs",
//   "<factory IR WAV name>.tmp" in "Factory IRs",
//   "QD3 backup YYYY-MM-DD HHMMSS.q3b.tmp" in "Backups";
// any other file stays. Returns how many were removed.
int RemoveStaleTemporaries(const std::filesystem::path& base);

// Removes the temporary a write of `target` goes through ("<target>.tmp") when one was
// left behind: for files the player places (an exported bank or preset file), whose
// folders only the remembered paths name. True when one was removed.
bool RemoveStaleTemporaryOf(const std::filesystem::path& target);

}  // namespace qd3
