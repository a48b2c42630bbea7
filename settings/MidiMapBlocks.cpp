#include "settings/MidiMapBlocks.h"

#include "protocol/MessageBuilders.h"
#include "protocol/SevenBit.h"

namespace qd3 {
ProgramMap IdentityProgramMap() {
  ProgramMap map{};
  for (std::size_t p = 0; p < map.size(); ++p) map[p] = static_cast<uint8_t>(p);
  return map;
}

Bytes BuildProgramMapBlock(const ProgramMap& map) {
  std::array<uint8_t, kRecordSize> data{};
  for (std::size_t p = 0; p < map.size(); ++p) data[p] = Clamp7(map[p]);
  return BuildDataBlock(kBlockProgramMap, data);
}

ProgramMap DecodeProgramMap(std::span<const uint8_t, kRecordSize> data) {
  ProgramMap map{};
  for (std::size_t p = 0; p < map.size(); ++p) map[p] = data[p];
  return map;
}

Bytes BuildControllerMapBlock(const KnobControllers& controllers) {
  std::array<uint8_t, kRecordSize> data{};
  for (std::size_t k = 0; k < controllers.size(); ++k) data[k] = Clamp7(controllers[k]);
  return BuildDataBlock(kBlockControllerMap, data);
}

KnobControllers DecodeControllerMap(std::span<const uint8_t, kRecordSize> data) {
  KnobControllers controllers{};
  for (std::size_t k = 0; k < controllers.size(); ++k) controllers[k] = data[k];
  return controllers;
}

}  // namespace qd3
