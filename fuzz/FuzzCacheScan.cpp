// The cache scan over a folder of fuzzed files. The input is cut into up to eight files,
// each after a two-byte little-endian length: preset files 001.dat.., a user IR file and a factory
// IR file, plus odd names (a folder called 002.dat, "x.dat", "003.DAT"). Holds: no sanitizer
// report; the list has its 128 rows; a scan labels at most 128 rows; an IR image is returned only
// from a file of exactly one image.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <span>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "presets/PresetCache.h"

namespace {

constexpr const char* kNames[] = {"Presets/001.dat",     "Presets/002.dat", "Presets/x.dat",
                                  "Presets/003.DAT",     "Presets/128.dat", "User IRs/001.dat",
                                  "Factory IRs/001.dat", "User IRs/256.dat"};

void WriteFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto base = qd3::fuzz::ScratchFolder() / "cache";
  qd3::fuzz::EmptyFolder(base);
  for (const char* folder : {"Presets", "User IRs", "Factory IRs"}) {
    std::filesystem::create_directories(base / folder);
  }
  std::span<const uint8_t> input(data, size);
  // The first byte's low bit makes "Presets/002.dat" a folder instead of a file.
  const bool folderNamedDat = !input.empty() && (input[0] & 1) != 0;
  if (!input.empty()) input = input.subspan(1);
  for (const char* name : kNames) {
    if (input.empty()) break;
    if (input.size() < 2) break;
    const std::size_t wanted = input[0] | (std::size_t{input[1]} << 8);
    const std::size_t length = std::min(wanted, input.size() - 2);
    const auto content = input.subspan(2, length);
    input = input.subspan(2 + length);
    if (folderNamedDat && std::string(name) == "Presets/002.dat") {
      std::filesystem::create_directories(base / name);
      continue;
    }
    WriteFile(base / name, content);
  }

  qd3::PresetCache cache(base);
  for (int offset : {0, 1}) {
    const qd3::PresetList list = cache.BuildListFromCache(offset);
    (void)list;
    const auto rows = cache.ScanPresetsFolder(offset);
    FUZZ_CHECK(rows.size() <= qd3::kPresetCount);
  }
  for (int irNumber : {0, 255, 384, -1, 1 << 14}) {
    const auto image = cache.ReadIrImage(irNumber);
    const auto path = cache.IrFilePath(irNumber);
    if (image) {
      FUZZ_CHECK(path.has_value());
      std::error_code error;
      FUZZ_CHECK(std::filesystem::file_size(*path, error) == qd3::kIrFileSize);
    }
    (void)cache.ReadIrName(irNumber);
    (void)cache.IsIrCached(irNumber);
  }
  for (int slot = 0; slot < 3; ++slot) (void)cache.ReadPreset(slot);
  return 0;
}
