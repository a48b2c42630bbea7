#include "presets/PresetFile.h"

#include <algorithm>

#include "protocol/Name32.h"

namespace qd3 {
namespace {

constexpr int kVersionMajorWeight = 10;
constexpr int kFirstFactoryBankHigh = 2;  // IR high bytes from here on name the pedal's own bank
constexpr int kUserIrRange = 256;
constexpr int kIrHighWeight = 128;
constexpr int kParamByteMask = 0xFF;

std::size_t LastSeparator(std::string_view path) {
  return path.find_last_of("\\/");
}

// Bytes of `text` into a 32-byte space-padded field, at most 32 of them.
void CopyName(std::string_view text, std::span<uint8_t> field) {
  std::fill(field.begin(), field.end(), kNamePad);
  std::copy_n(text.begin(), std::min(text.size(), field.size()), field.begin());
}

std::string TrimmedField(std::span<const uint8_t> bytes, std::size_t offset) {
  return TrimName32(std::span<const uint8_t, kNameSize>(bytes.data() + offset, kNameSize));
}

int SignedByte(uint8_t byte) {
  return static_cast<int8_t>(byte);
}

std::optional<int> UserIrNumber(int high, int low) {
  const int number = high * kIrHighWeight + low;
  if (number < 0 || number >= kUserIrRange) return std::nullopt;
  return number;
}

}  // namespace

std::string PresetNameFromPath(std::string_view path) {
  const std::size_t separator = LastSeparator(path);
  std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

std::string PresetFileStartPath(std::string_view rememberedPath, std::string_view presetName) {
  const std::size_t separator = LastSeparator(rememberedPath);
  if (rememberedPath.empty() || separator == std::string_view::npos) {
    return std::string(presetName);
  }
  return std::string(rememberedPath.substr(0, separator + 1)) + std::string(presetName);
}

std::vector<int> ExportedIrNumbers(std::span<const int, kRecordParamCount> params) {
  std::vector<int> numbers;
  if (params[kParamIrMode7] >= 1 && params[kParamUserIr7High] <= 1) {
    if (auto n = UserIrNumber(params[kParamUserIr7High], params[kParamUserIr7Low])) {
      numbers.push_back(*n);
    }
  }
  if (params[kParamIrMode8] > 0 && params[kParamUserIr8High] <= 1) {
    if (auto n = UserIrNumber(params[kParamUserIr8High], params[kParamUserIr8Low])) {
      numbers.push_back(*n);
    }
  }
  return numbers;
}

std::vector<uint8_t> BuildPresetFile(const PresetFileExport& content, const IrImageLookup& lookup) {
  std::vector<uint8_t> file(kPresetFileHeaderSize, 0);
  const std::span<uint8_t> bytes(file);
  std::copy(kPresetFileMagic.begin(), kPresetFileMagic.end(), file.begin());
  file[kPresetFileVersionMajorOffset] = kPresetFormatMajor;
  file[kPresetFileVersionMinorOffset] = kPresetFormatMinor;
  CopyName(content.fileName, bytes.subspan(kPresetFileNameOffset, kNameSize));
  for (int i = 0; i < kRecordParamCount; ++i) {
    file[kPresetFileParamsOffset + static_cast<std::size_t>(i)] =
        static_cast<uint8_t>(content.params[static_cast<std::size_t>(i)] & kParamByteMask);
  }
  CopyName(content.params[kParamIrMode7] > 0 ? content.position7Label : std::string_view{},
           bytes.subspan(kPresetFileIrName7Offset, kNameSize));
  CopyName(content.params[kParamIrMode8] > 0 ? content.position8Label : std::string_view{},
           bytes.subspan(kPresetFileIrName8Offset, kNameSize));
  if (!lookup) return file;
  for (const int number : ExportedIrNumbers(content.params)) {
    if (const auto image = lookup(number)) file.insert(file.end(), image->begin(), image->end());
  }
  return file;
}

PresetFileData ReadPresetFile(std::span<const uint8_t> bytes) {
  PresetFileData data;
  data.fileSize = bytes.size();
  if (bytes.size() >= kPresetFileSizeLimit) return data;

  std::array<uint8_t, kPresetFileHeaderSize> header{};
  if (bytes.size() >= kPresetFileHeaderSize) {
    std::copy_n(bytes.begin(), kPresetFileHeaderSize, header.begin());
  }
  if (!std::equal(kPresetFileMagic.begin(), kPresetFileMagic.end(), header.begin())) {
    data.status = PresetFileStatus::kUnknownFormat;
    data.message = kTextUnknownFileFormat;
    return data;
  }
  data.version = SignedByte(header[kPresetFileVersionMajorOffset]) * kVersionMajorWeight +
                 SignedByte(header[kPresetFileVersionMinorOffset]);
  if (data.version > kPresetFileNewestVersion) {
    data.status = PresetFileStatus::kUnsupportedVersion;
    data.message = kTextUnsupportedFileVersion;
    return data;
  }
  data.status = PresetFileStatus::kRead;
  data.name = TrimmedField(header, kPresetFileNameOffset);
  for (std::size_t i = 0; i < data.params.size(); ++i) {
    data.params[i] = SignedByte(header[kPresetFileParamsOffset + i]);
  }
  data.position7IrName = TrimmedField(header, kPresetFileIrName7Offset);
  data.position8IrName = TrimmedField(header, kPresetFileIrName8Offset);

  const std::size_t wholeBlocks =
      std::min((bytes.size() - kPresetFileHeaderSize) / kIrFileSize, kPresetFileMaxBlocks);
  for (std::size_t b = 0; b < wholeBlocks; ++b) {
    IrImageBytes block{};
    std::copy_n(
        bytes.begin() + static_cast<std::ptrdiff_t>(kPresetFileHeaderSize + b * kIrFileSize),
        kIrFileSize, block.begin());
    data.blocks.push_back(block);
  }
  return data;
}

PresetFileData LoadPresetFile(const std::filesystem::path& path) {
  const auto bytes = ReadFilePrefix(path, kPresetFileSizeLimit);
  if (!bytes) return {};
  return ReadPresetFile(*bytes);
}

std::vector<ImportQuestion> ImportQuestions(const PresetFileData& file, bool presetModified,
                                            int current40, int current41) {
  std::vector<ImportQuestion> questions;
  if (presetModified) questions.push_back(ImportQuestion::kPresetNotSaved);
  std::optional<int> x;
  if (current40 > 0) {
    x = file.params[kParamIrMode7];
  } else if (current41 > 0) {
    x = file.params[kParamIrMode8];
  }
  if (x && *x > 0) questions.push_back(ImportQuestion::kOverwriteUserIr);
  return questions;
}

const char* ImportQuestionText(ImportQuestion question) {
  return question == ImportQuestion::kPresetNotSaved ? kTextPresetNotSaved : kTextOverwriteUserIr;
}

void ReaimIrReferences(SoundParams& params, int slot) {
  if (params[kParamUserIr7High] < kFirstFactoryBankHigh) {
    params[kParamUserIr7High] = 0;
    params[kParamUserIr7Low] = slot;
  }
  if (params[kParamUserIr8High] < kFirstFactoryBankHigh) {
    params[kParamUserIr8High] = 1;
    params[kParamUserIr8Low] = slot;
  }
}

PresetFileIrPlan PlanIrUploads(const PresetFileData& file, const SoundParams& params) {
  PresetFileIrPlan plan;
  if (file.blocks.empty()) return plan;
  // Only numbers of the user range are uploaded: a reference into the pedal's own
  // bank was not exported with a block, so no block may overwrite a user IR for it.
  if (params[kParamIrMode7] >= 1 && params[kParamUserIr7High] < kFirstFactoryBankHigh) {
    plan.position7Target = UserIrNumber(params[kParamUserIr7High], params[kParamUserIr7Low]);
  }
  if (params[kParamIrMode8] >= 1 && params[kParamUserIr8High] < kFirstFactoryBankHigh) {
    plan.position8Target = UserIrNumber(params[kParamUserIr8High], params[kParamUserIr8Low]);
  }
  return plan;
}

const IrImageBytes* SecondUploadBlock(const PresetFileData& file) {
  if (file.blocks.empty()) return nullptr;
  return file.blocks.size() >= kPresetFileMaxBlocks ? &file.blocks[1] : &file.blocks[0];
}

CacheWriteStatus SavePresetFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  return WriteFileReplacing(path, bytes);
}

}  // namespace qd3
