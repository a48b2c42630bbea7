#pragma once

// The disk cache of the pedal's presets and impulse responses below one base folder:
//
//   Presets/      "%03d.dat" of slot + 1 (001.dat..128.dat): one 256-byte preset record
//   User IRs/     "%03d.dat" of IR number + 1 for numbers below 384: one IR image
//   Factory IRs/  "%03d.dat" of (IR number & 127) + 1 for numbers 384 and above, and the
//                 eight factory cabinet WAV files
//
// Everything here returns data; updating the list, the checksum table or the screen is
// the caller's business. Every write replaces its file whole (see CacheFileIo.h), so a
// failed write never loses what the cache held before. Writes from the message handler
// and from the UI thread are serialised; reads need no lock because a file is only ever
// replaced by a rename.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "presets/CacheFileIo.h"
#include "presets/ChecksumTable.h"
#include "presets/IrFileLayout.h"
#include "presets/PresetRecord.h"

namespace qd3 {

inline constexpr std::string_view kPresetsFolderName = "Presets";
inline constexpr std::string_view kUserIrsFolderName = "User IRs";
inline constexpr std::string_view kFactoryIrsFolderName = "Factory IRs";
// Cache files are the entries whose name ends in exactly this, compared case-sensitively.
inline constexpr std::string_view kCacheFileSuffix = ".dat";

// IR numbers below this are cached in "User IRs" under number + 1; from it upwards in
// "Factory IRs" under (number & 127) + 1. IR numbers are 14-bit.
inline constexpr int kFirstFactoryIrNumber = 384;
inline constexpr int kFactoryIrNumberMask = 0x7F;

inline constexpr std::size_t kFactoryIrWavCount = 8;
inline constexpr std::array<std::string_view, kFactoryIrWavCount> kFactoryIrWavNames = {
    "01-Tolvane.wav",   "02-Blond 2x12.wav", "03-Tweed 4x10.wav", "04-Cali 1x12.wav",
    "05-Cali 4x12.wav", "06-Blue 2x12.wav",  "07-Brit 2x12.wav",  "08-Boutique 4x12.wav"};

// "%03d.dat" of a file number (slot + 1, IR number + 1, ...).
std::string CacheFileName(int fileNumber);

// The eight factory WAV files' contents, in the order of kFactoryIrWavNames.
using FactoryIrWavData = std::array<std::span<const uint8_t>, kFactoryIrWavCount>;

// Row labels and checksum pairs of all 128 slots, by file number.
struct PresetList {
  std::array<std::string, kPresetCount> labels;
  ChecksumTable::Pairs checksums{};
};

// One row whose label a folder scan sets.
struct RowLabel {
  int row = 0;
  std::string label;

  friend bool operator==(const RowLabel&, const RowLabel&) = default;
};

struct ClearCacheResult {
  int undeletedFiles = 0;         // ".dat" entries that could not be removed
  std::vector<RowLabel> scanned;  // the folder scan after the deletion
  PresetList list;                // the list built from the cache after the scan
};

enum class FactoryWavInstall {
  kAlreadyPresent,  // the first file opens; nothing was written
  kInstalled,       // all eight files were written
  kIncomplete,      // at least one file could not be written
};

class PresetCache {
 public:
  explicit PresetCache(std::filesystem::path baseFolder);
  PresetCache(const PresetCache&) = delete;
  PresetCache& operator=(const PresetCache&) = delete;

  const std::filesystem::path& BaseFolder() const { return mBase; }
  std::filesystem::path PresetsFolder() const;
  std::filesystem::path UserIrsFolder() const;
  std::filesystem::path FactoryIrsFolder() const;

  // Slot 0..127.
  std::filesystem::path PresetFilePath(int slot) const;
  // nullopt for numbers that have no cache file (negative or wider than 14 bits).
  std::optional<std::filesystem::path> IrFilePath(int irNumber) const;

  // ---- presets ----

  // Replaces the slot's file with the record, creating the folder when it is missing.
  CacheWriteStatus WritePreset(int slot, std::span<const uint8_t, kPresetRecordSize> record);
  // The first 256 bytes of the slot's file, zero-filled when it is shorter; nullopt when
  // the file cannot be opened.
  std::optional<PresetRecord> ReadPreset(int slot) const;

  // For every slot by file number: the label with the cached name (or the number alone
  // when the file does not open) and the checksum of the record read (zero-filled, so a
  // missing file gives (0, 0)). `offset` is the "PATCH OFFSET" setting, 0 or 1.
  PresetList BuildListFromCache(int offset) const;

  // Labels rows in directory listing order. When "001.dat" does not open, only creates
  // the folder and returns nothing. Otherwise every listed entry that is not a directory
  // and whose name ends in exactly ".dat" labels the next row, counted from 0 in listing
  // order and not by the number in its name, up to 128 rows. Rows without such an entry
  // are not returned and keep whatever label they had.
  std::vector<RowLabel> ScanPresetsFolder(int offset);

  // Removes every entry that is not a directory and whose name ends in exactly ".dat"
  // from "Presets", "User IRs" and "Factory IRs", in that order. Other files (the WAV
  // files, "001.DAT") stay. Returns how many such entries could not be removed.
  int DeleteCachedDatFiles();

  // "Clear Cache Data": the deletion, then the folder scan, then the list build.
  ClearCacheResult ClearCache(int offset);

  // ---- impulse responses ----

  // Writes the eight factory WAV files unless "01-Tolvane.wav" already opens; the first
  // file alone decides, so later files that went missing are not restored.
  FactoryWavInstall InstallFactoryIrWavs(const FactoryIrWavData& wavs);
  std::filesystem::path FactoryIrWavPath(std::size_t index) const;

  // Replaces the IR's cache file with `bytes` (normally one 2436-byte image), creating
  // the folder when it is missing.
  CacheWriteStatus WriteIrImage(int irNumber, std::span<const uint8_t> bytes);
  // The whole image, only when the file is exactly 2436 bytes long.
  std::optional<std::array<uint8_t, kIrFileSize>> ReadIrImage(int irNumber) const;
  // Bytes 4..35 of any IR file that opens; bytes beyond the end of a short file read as
  // spaces. nullopt when the file does not open.
  std::optional<std::array<uint8_t, kNameSize>> ReadIrName(int irNumber) const;
  // Whether the IR's cache file opens.
  bool IsIrCached(int irNumber) const;

 private:
  CacheWriteStatus WriteIntoFolder(const std::filesystem::path& folder,
                                   const std::filesystem::path& target,
                                   std::span<const uint8_t> bytes);

  std::filesystem::path mBase;
  std::mutex mWriteMutex;
};

}  // namespace qd3
