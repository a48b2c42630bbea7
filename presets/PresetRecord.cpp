#include "presets/PresetRecord.h"

#include <algorithm>
#include <cassert>

#include "protocol/Name32.h"

namespace qd3 {
namespace {

std::size_t ParamOffset(int i) {
  assert(i >= 0 && i < kRecordParamCount);
  return kParamBytesOffset + static_cast<std::size_t>(std::clamp(i, 0, kRecordParamCount - 1));
}

std::size_t UserIrNameOffset(UserIrPosition position) {
  return position == UserIrPosition::kPosition7 ? kUserIrName7Offset : kUserIrName8Offset;
}

}  // namespace

PresetRecord PresetRecord::FromPrefix(std::span<const uint8_t> bytes) {
  PresetRecord record;
  const std::size_t count = std::min(bytes.size(), kPresetRecordSize);
  std::copy_n(bytes.begin(), count, record.mBytes.begin());
  return record;
}

std::span<const uint8_t, kPresetNameSize> PresetRecord::NameField() const {
  return std::span<const uint8_t, kPresetNameSize>(mBytes.data() + kPresetNameOffset,
                                                   kPresetNameSize);
}

std::span<uint8_t, kPresetNameSize> PresetRecord::NameField() {
  return std::span<uint8_t, kPresetNameSize>(mBytes.data() + kPresetNameOffset, kPresetNameSize);
}

std::string PresetRecord::NameAsStored() const {
  const auto field = NameField();
  return std::string(field.begin(), field.end());
}

std::string PresetRecord::NameUpToNul() const {
  const auto field = NameField();
  return std::string(field.begin(), std::find(field.begin(), field.end(), uint8_t{0}));
}

uint8_t PresetRecord::Param(int i) const {
  return mBytes[ParamOffset(i)];
}

void PresetRecord::SetParam(int i, uint8_t value) {
  mBytes[ParamOffset(i)] = value;
}

std::span<const uint8_t, kNameSize> PresetRecord::UserIrNameField(UserIrPosition position) const {
  return std::span<const uint8_t, kNameSize>(mBytes.data() + UserIrNameOffset(position), kNameSize);
}

std::span<uint8_t, kNameSize> PresetRecord::UserIrNameField(UserIrPosition position) {
  return std::span<uint8_t, kNameSize>(mBytes.data() + UserIrNameOffset(position), kNameSize);
}

std::string PresetRecord::TrimmedUserIrName(UserIrPosition position) const {
  return TrimName32(UserIrNameField(position));
}

bool PresetRecord::UsesUserIr(UserIrPosition position) const {
  return Param(position == UserIrPosition::kPosition7 ? kParamIrMode7 : kParamIrMode8) > 0;
}

int PresetRecord::UserIrNumber(UserIrPosition position) const {
  const bool seven = position == UserIrPosition::kPosition7;
  const int high = Param(seven ? kParamUserIr7High : kParamUserIr8High);
  const int low = Param(seven ? kParamUserIr7Low : kParamUserIr8Low);
  return (high << kBitsPer7BitByte) + low;
}

Checksum14Pair PresetRecord::Checksum() const {
  return Checksum14(mBytes);
}

}  // namespace qd3
