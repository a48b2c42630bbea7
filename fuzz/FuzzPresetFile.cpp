// The preset-file reader on arbitrary bytes. Holds: no sanitizer report; a file read as
// kRead, written again from what was read and read back, gives the same name, parameters
// and IR blocks, and that second writing is byte-identical to the first (the writer and
// the reader agree on every byte they carry).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "presets/PresetFile.h"

namespace {

std::vector<uint8_t> Rewrite(const qd3::PresetFileData& file) {
  std::vector<int> params(file.params.begin(), file.params.end());
  const qd3::PresetFileExport content{
      file.name, std::span<const int, qd3::kRecordParamCount>(params.data(), params.size()),
      file.position7IrName, file.position8IrName};
  // The file's blocks stand in for the cache, in the order the writer asks for them.
  std::size_t asked = 0;
  const qd3::IrImageLookup lookup = [&](int) -> std::optional<qd3::IrImageBytes> {
    if (asked >= file.blocks.size()) return std::nullopt;
    return file.blocks[asked++];
  };
  return qd3::BuildPresetFile(content, lookup);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const qd3::PresetFileData first = qd3::ReadPresetFile(std::span<const uint8_t>(data, size));
  FUZZ_CHECK(first.blocks.size() <= qd3::kPresetFileMaxBlocks);
  if (first.status != qd3::PresetFileStatus::kRead) {
    FUZZ_CHECK(first.blocks.empty());
    return 0;
  }
  FUZZ_CHECK(size < qd3::kPresetFileSizeLimit);

  const std::vector<uint8_t> written = Rewrite(first);
  const qd3::PresetFileData second = qd3::ReadPresetFile(written);
  FUZZ_CHECK(second.status == qd3::PresetFileStatus::kRead);
  FUZZ_CHECK(second.params == first.params);
  FUZZ_CHECK(second.blocks.size() <= first.blocks.size());
  for (std::size_t k = 0; k < second.blocks.size(); ++k) {
    FUZZ_CHECK(second.blocks[k] == first.blocks[k]);
  }
  FUZZ_CHECK(Rewrite(second) == written);
  return 0;
}
