// The impulse-response half of PresetCache: IR image files and the factory WAV files.

#include <algorithm>
#include <cassert>

#include "presets/PresetCache.h"

namespace qd3 {

std::optional<std::filesystem::path> PresetCache::IrFilePath(int irNumber) const {
  if (irNumber < 0 || irNumber > kMax14) return std::nullopt;
  if (irNumber < kFirstFactoryIrNumber) return UserIrsFolder() / CacheFileName(irNumber + 1);
  return FactoryIrsFolder() / CacheFileName((irNumber & kFactoryIrNumberMask) + 1);
}

CacheWriteStatus PresetCache::WriteIrImage(int irNumber, std::span<const uint8_t> bytes) {
  const auto path = IrFilePath(irNumber);
  if (!path) return CacheWriteStatus::kNoCacheFile;
  return WriteIntoFolder(path->parent_path(), *path, bytes);
}

std::optional<std::array<uint8_t, kIrFileSize>> PresetCache::ReadIrImage(int irNumber) const {
  const auto path = IrFilePath(irNumber);
  if (!path) return std::nullopt;
  // One byte more than an image, to tell a longer file from an exact one.
  const auto bytes = ReadFilePrefix(*path, kIrFileSize + 1);
  if (!bytes || bytes->size() != kIrFileSize) return std::nullopt;
  std::array<uint8_t, kIrFileSize> image{};
  std::copy(bytes->begin(), bytes->end(), image.begin());
  return image;
}

std::optional<std::array<uint8_t, kNameSize>> PresetCache::ReadIrName(int irNumber) const {
  const auto path = IrFilePath(irNumber);
  if (!path) return std::nullopt;
  const auto bytes = ReadFilePrefix(*path, kIrFileNameOffset + kNameSize);
  if (!bytes) return std::nullopt;
  std::array<uint8_t, kNameSize> name{};
  name.fill(kNamePad);
  for (std::size_t i = kIrFileNameOffset; i < bytes->size(); ++i) {
    name[i - kIrFileNameOffset] = (*bytes)[i];
  }
  return name;
}

bool PresetCache::IsIrCached(int irNumber) const {
  const auto path = IrFilePath(irNumber);
  return path && FileOpens(*path);
}

std::filesystem::path PresetCache::FactoryIrWavPath(std::size_t index) const {
  assert(index < kFactoryIrWavCount);
  return FactoryIrsFolder() / kFactoryIrWavNames[std::min(index, kFactoryIrWavCount - 1)];
}

FactoryWavInstall PresetCache::InstallFactoryIrWavs(const FactoryIrWavData& wavs) {
  if (FileOpens(FactoryIrWavPath(0))) return FactoryWavInstall::kAlreadyPresent;
  bool complete = true;
  for (std::size_t i = 0; i < kFactoryIrWavCount; ++i) {
    // A failed file does not stop the others.
    complete =
        Succeeded(WriteIntoFolder(FactoryIrsFolder(), FactoryIrWavPath(i), wavs[i])) && complete;
  }
  return complete ? FactoryWavInstall::kInstalled : FactoryWavInstall::kIncomplete;
}

}  // namespace qd3
