#include "cli/PutFile.h"

#include <algorithm>

#include "cli/InspectKinds.h"
#include "ir/IrImage.h"
#include "params/ParamCatalogue.h"
#include "presets/CacheFileIo.h"
#include "presets/StoreRecord.h"

namespace qd3::cli {
namespace {

bool IsWholeSize(std::size_t size) {
  return size == kPresetFileHeaderSize || size == kPresetFileOneBlockSize ||
         size == kPresetFileTwoBlocksSize;
}

std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  std::string joined;
  for (const char c : text) {
    if (c == ' ' && !joined.empty() && joined.back() == ' ') continue;
    joined.push_back(c);
  }
  return joined;
}

// The first parameter whose value its range does not hold, as a sentence; empty when all do.
std::string ValueOutOfRange(const SoundParams& params) {
  static const ParamCatalogue catalogue;
  for (int i = 0; i < kRecordParamCount; ++i) {
    const ParamSpec& range = catalogue[i].Info();
    const int value = params[static_cast<std::size_t>(i)];
    if (value >= range.min && value <= range.max) continue;
    // Appended piece by piece: GCC 12 at -O3 warns, wrongly, about a literal plus a string.
    std::string text = "parameter ";
    text += std::to_string(i);
    text += " (" + range.name + ") holds ";
    text += std::to_string(value);
    text += ", outside ";
    text += std::to_string(static_cast<int>(range.min));
    text += "..";
    text += std::to_string(static_cast<int>(range.max));
    return text;
  }
  return {};
}

}  // namespace

std::optional<PresetFileData> ReadPutFile(const std::string& path, std::ostream& err) {
  const auto refuse = [&](const std::string& why) -> std::optional<PresetFileData> {
    err << "qd3ctl: " << path << ": " << why << "; nothing was sent\n";
    return std::nullopt;
  };
  if (!FileOpens(path)) return refuse("cannot be opened as a file");
  const auto bytes = ReadFilePrefix(path, kPresetFileSizeLimit);
  if (!bytes) return refuse("cannot be read");
  if (!IsWholeSize(bytes->size())) {
    const bool tooBig = bytes->size() >= kPresetFileSizeLimit;
    return refuse("not a whole preset file: " + std::to_string(bytes->size()) +
                  (tooBig ? " bytes or more" : " bytes") +
                  ", where one has 262, 2698 or 5134 (cut short, or not a preset file)");
  }
  PresetFileData file = ReadPresetFile(*bytes);
  if (file.status != PresetFileStatus::kRead) return refuse(OneLine(file.message));
  if (const std::string out = ValueOutOfRange(file.params); !out.empty()) return refuse(out);
  if (!file.blocks.empty() && PlanPut(file, 0).uploads.empty()) {
    return refuse("its IR blocks belong to no user IR its preset uses");
  }
  return file;
}

PutPlan PlanPut(const PresetFileData& file, int slot) {
  SoundParams params = file.params;
  ReaimIrReferences(params, slot);
  PutPlan plan;
  // A file without blocks brings only values; its preset then uses whatever the slot's
  // own user IRs hold, as after the editor's import.
  if (!file.blocks.empty()) {
    const PresetFileIrPlan irs = PlanIrUploads(file, params);
    if (irs.position7Target) plan.uploads.push_back({7, *irs.position7Target, &file.blocks[0]});
    if (irs.position8Target) {
      plan.uploads.push_back({8, *irs.position8Target,
                              irs.position7Target ? SecondUploadBlock(file) : &file.blocks[0]});
    }
  }
  plan.record = BuildStoreRecord(file.name, params, file.position7IrName, file.position8IrName);
  return plan;
}

IrImageBytes UploadImageOf(const IrImageBytes& block) {
  IrWorkingBuffer buffer;
  LoadIrImage(block, buffer);
  std::array<uint8_t, kNameSize> name{};
  std::copy_n(block.begin() + kIrFileNameOffset, kNameSize, name.begin());
  return MakeIrImage(buffer, name).image;
}

}  // namespace qd3::cli
