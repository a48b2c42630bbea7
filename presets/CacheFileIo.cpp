#include "presets/CacheFileIo.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#if __has_include(<unistd.h>)
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qd3 {
namespace {

// Pushes the file's data from the operating system to the disk, so that the rename that
// follows can never publish a file whose content is still only in memory.
bool SyncToDisk(std::FILE* file) {
#if __has_include(<unistd.h>)
  return ::fsync(::fileno(file)) == 0;
#else
  (void)file;
  return true;
#endif
}

// Marks the temporary as being written for as long as it is open. Best effort: a file
// system without locks only loses the protection against a cleanup running meanwhile.
void LockWhileWriting(std::FILE* file) {
#if __has_include(<unistd.h>)
  [[maybe_unused]] const int locked = ::flock(::fileno(file), LOCK_EX | LOCK_NB);
#else
  (void)file;
#endif
}

}  // namespace

const char* WriteFailureText(CacheWriteStatus status) {
  switch (status) {
    case CacheWriteStatus::kWritten:
      return "";
    case CacheWriteStatus::kNoCacheFile:
    case CacheWriteStatus::kFolderUnavailable:
      return "The file could not be written: its folder is missing and cannot be created.";
    case CacheWriteStatus::kTempFileFailed:
      return "The file could not be written: no file can be created in that folder.";
    case CacheWriteStatus::kWriteFailed:
      return "The file could not be written (is the disk full?). An earlier file of that name "
             "was kept.";
    case CacheWriteStatus::kReplaceFailed:
      return "The file could not be replaced. An earlier file of that name was kept.";
  }
  return "";
}

std::string WriteFailureText(CacheWriteStatus status, const std::filesystem::path& target) {
  std::error_code error;
  const bool earlierFile = std::filesystem::is_regular_file(target, error);
  if (earlierFile) return WriteFailureText(status);
  switch (status) {
    case CacheWriteStatus::kWriteFailed:
      return "The file could not be written (is the disk full?).";
    case CacheWriteStatus::kReplaceFailed:
      return "The file could not be saved under that name.";
    default:
      return WriteFailureText(status);
  }
}

std::filesystem::path TempPathFor(const std::filesystem::path& target) {
  std::filesystem::path temp = target;
  temp += kTempFileSuffix;
  return temp;
}

CacheWriteStatus WriteFileReplacing(const std::filesystem::path& target,
                                    std::span<const uint8_t> bytes) {
  const std::filesystem::path temp = TempPathFor(target);
  std::FILE* file = std::fopen(temp.string().c_str(), "wb");
  if (file == nullptr) return CacheWriteStatus::kTempFileFailed;
  LockWhileWriting(file);

  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  // A full disk often shows only when the buffered bytes are flushed.
  ok = std::fflush(file) == 0 && ok;
  ok = ok && SyncToDisk(file);
  ok = std::fclose(file) == 0 && ok;

  std::error_code ignored;
  if (!ok) {
    std::filesystem::remove(temp, ignored);
    return CacheWriteStatus::kWriteFailed;
  }
  std::error_code error;
  std::filesystem::rename(temp, target, error);
  if (error) {
    std::filesystem::remove(temp, ignored);
    return CacheWriteStatus::kReplaceFailed;
  }
  return CacheWriteStatus::kWritten;
}

bool RemoveStaleTempFile(const std::filesystem::path& temp) {
#if __has_include(<unistd.h>)
  const int fd = ::open(temp.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat opened {};
  struct stat named {};
  // Held until the name is gone: a write that opens the same file meanwhile then fails
  // at its rename and keeps the old target, rather than publishing a file we unlinked.
  const bool removed = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                       ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(temp.c_str(), &named) == 0 &&
                       named.st_dev == opened.st_dev && named.st_ino == opened.st_ino &&
                       ::unlink(temp.c_str()) == 0;
  ::close(fd);
  return removed;
#else
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::symlink_status(temp, error)) &&
         std::filesystem::remove(temp, error);
#endif
}

bool FileOpens(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

bool FolderCertainlyEmpty(const std::filesystem::path& folder) {
  std::error_code error;
  const auto status = std::filesystem::status(folder, error);
  if (status.type() == std::filesystem::file_type::not_found) return true;
  if (error || status.type() != std::filesystem::file_type::directory) return false;
  std::filesystem::directory_iterator it(folder, error);
  return !error && it == std::filesystem::directory_iterator();
}

std::optional<std::vector<uint8_t>> ReadFilePrefix(const std::filesystem::path& path,
                                                   std::size_t maxBytes) {
  if (!FileOpens(path)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) return std::nullopt;
  std::vector<uint8_t> bytes(maxBytes);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(maxBytes));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

}  // namespace qd3
