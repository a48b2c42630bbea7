#pragma once

// The preset file (".q3p"): one preset and the user IRs it uses, little-endian where wide.
//
//   0..3       magic "QRBP"
//   4, 5       version major, minor: 1, 0 (0.9 is read too)
//   6..37      preset name, space padded
//   38..102    parameter bytes 0..64 (record bytes 34..98)
//   103..197   zero
//   198..229   name of the position-7 user IR, space padded (32 spaces if none)
//   230..261   name of the position-8 user IR, likewise
//   262..2697  first IR block, if present: one 2436-byte IR image as the cache holds it
//   2698..5133 second IR block, if present
//
// Bytes 4..102 equal record bytes 0..98; the IR names sit two bytes later than in the
// record. Blocks exist only for IRs of the pedal's user range (high byte 0 or 1) whose
// cache file is a whole image: the first block is the position-7 IR when it qualifies,
// otherwise the position-8 IR; the second block, the position-8 IR after a position-7 one.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "presets/CacheFileIo.h"
#include "presets/IrFileLayout.h"
#include "presets/PresetRecord.h"

namespace qd3 {

inline constexpr std::size_t kPresetFileMagicSize = 4;
inline constexpr std::array<uint8_t, kPresetFileMagicSize> kPresetFileMagic = {'Q', 'R', 'B', 'P'};
inline constexpr std::size_t kPresetFileVersionMajorOffset = 4;
inline constexpr std::size_t kPresetFileVersionMinorOffset = 5;
inline constexpr std::size_t kPresetFileNameOffset = 6;
inline constexpr std::size_t kPresetFileParamsOffset = 38;
inline constexpr std::size_t kPresetFileIrName7Offset = 198;
inline constexpr std::size_t kPresetFileIrName8Offset = 230;
inline constexpr std::size_t kPresetFileHeaderSize = 262;
inline constexpr std::size_t kPresetFileMaxBlocks = 2;
inline constexpr std::size_t kPresetFileOneBlockSize = kPresetFileHeaderSize + kIrFileSize;
inline constexpr std::size_t kPresetFileTwoBlocksSize = kPresetFileOneBlockSize + kIrFileSize;
// Files of this size or more are not preset files and are ignored without a word.
inline constexpr std::size_t kPresetFileSizeLimit = 8192;
// Version major * 10 + minor; anything above is from a newer editor.
inline constexpr int kPresetFileNewestVersion = 10;
inline constexpr char kPresetFileExtension[] = "q3p";

static_assert(kPresetFileParamsOffset == kPresetFileNameOffset + kNameSize);
static_assert(kPresetFileIrName8Offset == kPresetFileIrName7Offset + kNameSize);
static_assert(kPresetFileHeaderSize == kPresetFileIrName8Offset + kNameSize);
static_assert(kPresetFileTwoBlocksSize == 5134);

inline constexpr char kTextUnknownFileFormat[] = "Unknown file format.";
inline constexpr char kTextUnsupportedFileVersion[] =
    "Unsupported file version. \nPlease update the QD3 Editor \nto the latest version.";
inline constexpr char kTextPresetNotSaved[] =
    "Current Preset not saved. \nContinue without saving?";
inline constexpr char kTextOverwriteUserIr[] =
    "This operation will overwrite the currently selected User IR. \nContinue without saving?";

using IrImageBytes = std::array<uint8_t, kIrFileSize>;
using SoundParams = std::array<int, kRecordParamCount>;

// ---- Names and paths ---------------------------------------------------------------------------

// The chosen file's name without folder and extension: the text after the last '\' or '/',
// cut at its last dot when that dot comes after the separator. Not limited to 32
// characters: the name entry field shows all of it.
std::string PresetNameFromPath(std::string_view path);

// Where the save dialog starts: the remembered path's folder (the text before its last
// separator), that separator and the current preset name; the name alone when nothing is
// remembered or the remembered path has no folder.
std::string PresetFileStartPath(std::string_view rememberedPath, std::string_view presetName);

// ---- Export ------------------------------------------------------------------------------------

struct PresetFileExport {
  std::string_view fileName;  // the name part of the chosen path (PresetNameFromPath)
  std::span<const int, kRecordParamCount> params;  // current integer values of 0..64
  std::string_view position7Label;  // text of the position-7 label, used when params[40] > 0
  std::string_view position8Label;  // text of the position-8 label, used when params[41] > 0
};

// The user-IR numbers whose images go into the file, in block order, before looking
// at the cache: position 7 when params[40] >= 1 and params[53] <= 1, then position 8
// when params[41] > 0 and params[55] <= 1. Numbers are high * 128 + low, so 0..255.
std::vector<int> ExportedIrNumbers(std::span<const int, kRecordParamCount> params);

// Reads one user IR's cache image; nullopt unless the file is exactly one image.
using IrImageLookup = std::function<std::optional<IrImageBytes>(int irNumber)>;

// The whole file: the 262-byte header, then a block for each ExportedIrNumbers entry
// whose image the lookup finds. Names and labels are copied as bytes, at most 32, space
// padded; parameter bytes are the values' low 8 bits.
std::vector<uint8_t> BuildPresetFile(const PresetFileExport& content, const IrImageLookup& lookup);

// ---- Import ------------------------------------------------------------------------------------

enum class PresetFileStatus : uint8_t {
  kRead,                // header and the blocks that fit are in the result
  kIgnored,             // cannot be opened, or 8192 bytes or more: nothing is said
  kUnknownFormat,       // not "QRBP" (a file under 262 bytes reads as zeros): message
  kUnsupportedVersion,  // above 1.0: message
};

struct PresetFileData {
  PresetFileStatus status = PresetFileStatus::kIgnored;
  std::string message;  // for the player, with kUnknownFormat and kUnsupportedVersion
  std::size_t fileSize = 0;
  int version = 0;              // major * 10 + minor, read as signed bytes
  std::string name;             // bytes 6..37, trailing spaces removed
  SoundParams params{};         // bytes 38..102 as signed values
  std::string position7IrName;  // bytes 198..229, trailing spaces removed
  std::string position8IrName;  // bytes 230..261, trailing spaces removed
  // The whole 2436-byte blocks after the header, at most two. A tail that does not make
  // a whole block (a file of 3000 bytes, say) is ignored.
  std::vector<IrImageBytes> blocks;
};

// Reads a preset file's bytes (the whole file; `bytes.size()` is its size). Checks in
// this order: size limit, magic, version.
PresetFileData ReadPresetFile(std::span<const uint8_t> bytes);

// Opens and reads the file at `path`; a file that does not open, or is too big, gives
// kIgnored.
PresetFileData LoadPresetFile(const std::filesystem::path& path);

// The questions the editor asks, in this order, before anything changes; Cancel on any
// of them ends the import. `current40` and `current41` are the current values of
// parameters 40 and 41.
enum class ImportQuestion : uint8_t { kPresetNotSaved, kOverwriteUserIr };
std::vector<ImportQuestion> ImportQuestions(const PresetFileData& file, bool presetModified,
                                            int current40, int current41);
const char* ImportQuestionText(ImportQuestion question);

// Aims the file's user-IR references at the slot being imported into: when the high byte
// (53, resp. 55) is below 2 it becomes 0 (resp. 1) and the low byte (54, resp. 56) the
// slot. References into the pedal's factory bank (high byte 2 and up) stay as they are.
void ReaimIrReferences(SoundParams& params, int slot);

// Which user IRs the import uploads, from the (re-aimed) parameters and the blocks read.
// The first upload takes block 0; the position-8 upload after a position-7 one takes
// block 1, or block 0 again when the file has only one.
struct PresetFileIrPlan {
  std::optional<int> position7Target;  // sets importIrAUploading
  std::optional<int> position8Target;  // sets importIrBPending
  bool Empty() const { return !position7Target && !position8Target; }
};
PresetFileIrPlan PlanIrUploads(const PresetFileData& file, const SoundParams& params);

// The block for the position-8 upload that follows a position-7 one; null without blocks.
const IrImageBytes* SecondUploadBlock(const PresetFileData& file);

// Writes the file through a temporary file and a rename: a failure keeps the old file.
CacheWriteStatus SavePresetFile(const std::filesystem::path& path, std::span<const uint8_t> bytes);

}  // namespace qd3
