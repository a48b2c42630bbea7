#pragma once

// Whole-file reads and crash-safe whole-file writes for the cache.
//
// A write goes to "<name>.tmp" in the target's folder, is flushed to the disk and then
// renamed over the target. A crash, a full disk or any other failure therefore leaves
// either the complete old file or the complete new one, never a truncated mix. The
// temporary name does not end in ".dat", so folder scans and cache clearing never see it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qd3 {

enum class CacheWriteStatus {
  kWritten,
  kNoCacheFile,        // the item has no file in the cache (an IR number without one)
  kFolderUnavailable,  // the folder is missing and cannot be created
  kTempFileFailed,     // the temporary file cannot be created
  kWriteFailed,        // writing or flushing the temporary file failed (disk full)
  kReplaceFailed,      // the temporary file cannot be renamed over the target
};

inline bool Succeeded(CacheWriteStatus status) {
  return status == CacheWriteStatus::kWritten;
}

inline constexpr char kTempFileSuffix[] = ".tmp";

// What the player is told when a write the player asked for (a preset or bank file)
// failed; the previous file, if any, is still there. Empty for kWritten.
const char* WriteFailureText(CacheWriteStatus status);
// The same for a write of `target` that has just failed: the failed write left any earlier
// file untouched, so whether one is there now says whether one was kept, and the words
// claim "An earlier file of that name was kept." only then.
std::string WriteFailureText(CacheWriteStatus status, const std::filesystem::path& target);

// The temporary file a write of `target` goes through.
std::filesystem::path TempPathFor(const std::filesystem::path& target);

// Writes `bytes` as the whole content of `target` through the temporary file. The folder
// must exist. On failure the target keeps its previous content (or stays absent) and the
// temporary file is removed when this call created it. The temporary is locked (flock)
// while it is written, so that another of our programs starting meanwhile leaves it alone.
CacheWriteStatus WriteFileReplacing(const std::filesystem::path& target,
                                    std::span<const uint8_t> bytes);

// Removes `temp`, a temporary of WriteFileReplacing that a crash or a kill left behind:
// only a regular file (not a link, not a folder), and not while a write holds its lock.
// True when it was removed.
bool RemoveStaleTempFile(const std::filesystem::path& temp);

// Whether `path` names something that opens as a file: a regular file, or a link to one.
// Directories and special files count as files that cannot be opened.
bool FileOpens(const std::filesystem::path& path);

// True when no file in `folder` can open because the folder does not exist or lists no
// entry at all. False when it has entries, or when it cannot be listed (a folder that may
// be entered but not read still opens the files it holds). Lets a reader of hundreds of
// files by number skip them all at once on a fresh or emptied cache.
bool FolderCertainlyEmpty(const std::filesystem::path& folder);

// Up to `maxBytes` bytes from the start of the file; nullopt when it cannot be opened.
std::optional<std::vector<uint8_t>> ReadFilePrefix(const std::filesystem::path& path,
                                                   std::size_t maxBytes);

}  // namespace qd3
