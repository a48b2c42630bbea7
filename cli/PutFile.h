#pragma once

// The preset file put sends, read and checked before anything reaches the pedal: a whole
// file of the editor's format whose values the pedal takes, and what of it goes where.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "presets/PresetFile.h"
#include "presets/PresetRecord.h"

namespace qd3::cli {

// Reads `path`; nullopt, with the reason on `err`, for a file that does not open, is not
// 262, 2698 or 5134 bytes (cut short, or with a tail), is of another format or version,
// holds a value outside its parameter's range, or carries IR blocks its preset does not
// use (the editor's import stores nothing then either).
std::optional<PresetFileData> ReadPutFile(const std::string& path, std::ostream& err);

// One user IR the file brings: its block, to the slot's own IR of that position.
struct PutUpload {
  int position = 0;  // 7 or 8
  int target = 0;    // the user IR number
  const IrImageBytes* block = nullptr;
};

// What goes to slot 0..127, as the editor's import sends it: the IR references aimed at
// the slot's own user IRs, the uploads in order, then the record to store.
struct PutPlan {
  std::vector<PutUpload> uploads;
  PresetRecord record;
};
PutPlan PlanPut(const PresetFileData& file, int slot);

// The image the editor uploads for a block: its samples and name made into an image again.
IrImageBytes UploadImageOf(const IrImageBytes& block);

}  // namespace qd3::cli
