#include "settings/GlobalSettingsBlock.h"

#include "protocol/MessageBuilders.h"
#include "protocol/SevenBit.h"

namespace qd3 {
std::array<uint8_t, kRecordSize> EncodeGlobalSettings(int currentPreset, const RawValueOf& raw) {
  std::array<uint8_t, kRecordSize> data{};
  data[kGlobalCurrentPresetByte] = Clamp7(currentPreset);
  for (const GlobalSettingsSlot& slot : kGlobalSettingsLayout) {
    const int value = raw(slot.param);
    if (slot.dataByte == kGlobalEditPotDisplayByte) {
      data[slot.dataByte] = value >= 1 ? kEditPotNumericalOnWire : 0;
    } else {
      data[slot.dataByte] = Clamp7(value);
    }
  }
  return data;
}

Bytes BuildGlobalSettingsBlock(int currentPreset, const RawValueOf& raw) {
  return BuildDataBlock(kBlockGlobalSettings, EncodeGlobalSettings(currentPreset, raw));
}

ReceivedGlobalSettings DecodeGlobalSettings(std::span<const uint8_t, kRecordSize> data) {
  ReceivedGlobalSettings received;
  received.currentPreset = data[kGlobalCurrentPresetByte];
  for (std::size_t i = 0; i < kGlobalSettingsLayout.size(); ++i) {
    const GlobalSettingsSlot& slot = kGlobalSettingsLayout[i];
    int value = data[slot.dataByte];
    if (slot.dataByte == kGlobalEditPotDisplayByte && value > 0) value = 1;
    received.values[i] = {slot.param, value};
  }
  return received;
}

}  // namespace qd3
