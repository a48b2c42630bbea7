#include "presets/StoreRecord.h"

#include "protocol/MessageBuilders.h"
#include "protocol/Name32.h"

namespace qd3 {
namespace {

constexpr int kLowByteMask = 0xFF;

void WriteUserIrName(PresetRecord& record, UserIrPosition position, int irMode,
                     std::string_view label) {
  // An empty text still fills the field with spaces.
  WriteName32(irMode > 0 ? label : std::string_view{}, record.UserIrNameField(position));
}

}  // namespace

PresetRecord BuildStoreRecord(std::string_view nameText,
                              std::span<const int, kRecordParamCount> liveValues,
                              std::string_view position7Label, std::string_view position8Label) {
  PresetRecord record;
  auto& bytes = record.Bytes();
  bytes[kFormatMajorOffset] = kPresetFormatMajor;
  bytes[kFormatMinorOffset] = kPresetFormatMinor;
  WriteName32(nameText, record.NameField());
  WriteUserIrName(record, UserIrPosition::kPosition7, liveValues[kParamIrMode7], position7Label);
  WriteUserIrName(record, UserIrPosition::kPosition8, liveValues[kParamIrMode8], position8Label);
  for (int i = 0; i < kRecordParamCount; ++i) {
    record.SetParam(i,
                    static_cast<uint8_t>(liveValues[static_cast<std::size_t>(i)] & kLowByteMask));
  }
  return record;
}

Bytes BuildStorePresetMessage(int slot, const PresetRecord& record) {
  return BuildStorePreset(slot, record.Bytes());
}

}  // namespace qd3
