#include "simulator/PedalState.h"

#include <algorithm>

namespace qd3::sim {
namespace {

std::size_t ParamOffset(int index) {
  return kRecordParamsOffset + static_cast<std::size_t>(index);
}

}  // namespace

uint8_t& RecordParam(Record& record, int index) {
  return record.at(ParamOffset(index));
}

uint8_t RecordParam(const Record& record, int index) {
  return record.at(ParamOffset(index));
}

std::span<uint8_t, kNameSize> RecordName(Record& record) {
  return std::span<uint8_t>(record).subspan(kRecordNameOffset).first<kNameSize>();
}

bool IsValidRecord(std::span<const uint8_t> record) {
  return record.size() == kRecordSize && record[kRecordFormatMajorOffset] == kRecordFormatMajor &&
         record[kRecordFormatMinorOffset] == kRecordFormatMinor &&
         std::all_of(record.begin(), record.end(), [](uint8_t b) { return b <= kDataMask; });
}

Checksum14Pair RecordChecksum(const Record& record) {
  return Checksum14(record);
}

std::span<const uint8_t, kNameSize> IrName(const IrImage& image) {
  return std::span<const uint8_t>(image).subspan(kIrNameOffset32).first<kNameSize>();
}

bool IsWritableIr(int number) {
  return (number >= 0 && number < kUserIrCount) ||
         (number >= kCabinetFirst && number < kCabinetFirst + kCabinetCount);
}

const IrImage* FindIr(const PedalState& state, int number) {
  auto pick = [&](const std::vector<IrImage>& bank, int first) -> const IrImage* {
    const int i = number - first;
    return i >= 0 && i < static_cast<int>(bank.size()) ? &bank[static_cast<std::size_t>(i)]
                                                       : nullptr;
  };
  if (number < kFactoryBankFirst) return pick(state.userIrs, 0);
  if (number < kFactoryBankFirst + kFactoryBankCount) {
    return pick(state.factoryBankIrs, kFactoryBankFirst);
  }
  return pick(state.cabinetIrs, kCabinetFirst);
}

IrImage* FindIr(PedalState& state, int number) {
  return const_cast<IrImage*>(FindIr(static_cast<const PedalState&>(state), number));
}

bool PresetProtectionOn(const PedalState& state) {
  return state.globals[kGlobalProtection] != 0;
}

std::array<uint8_t, kRecordSize> GlobalSettingsData(const PedalState& state) {
  std::array<uint8_t, kRecordSize> data{};
  for (const GlobalField& field : kGlobalFields)
    data[field.dataByte] = state.globals[field.dataByte];
  data[kGlobalCurrentPreset] = static_cast<uint8_t>(state.currentPreset);
  for (int k = 0; k < kGlobalMirrorCount; ++k) {
    data[kGlobalMirrorFirst + static_cast<std::size_t>(k)] =
        RecordParam(state.editBuffer, kGlobalMirrorIndexFirst + k);
  }
  return data;
}

std::array<uint8_t, kRecordSize> ControllerMapData(const PedalState& state) {
  std::array<uint8_t, kRecordSize> data{};
  std::copy(state.controllerMap.begin(), state.controllerMap.end(), data.begin());
  return data;
}

std::array<uint8_t, kRecordSize> ProgramMapData(const PedalState& state) {
  std::array<uint8_t, kRecordSize> data{};
  std::copy(state.programMap.begin(), state.programMap.end(), data.begin());
  return data;
}

std::array<uint8_t, kRecordSize> PresetChecksumData(const PedalState& state) {
  std::array<uint8_t, kRecordSize> data{};
  for (std::size_t i = 0; i < state.presets.size() && 2 * i + 1 < data.size(); ++i) {
    const Checksum14Pair sum = RecordChecksum(state.presets[i]);
    data[2 * i] = sum.hi;
    data[2 * i + 1] = sum.lo;
  }
  return data;
}

void ApplyGlobalSettings(PedalState& state, std::span<const uint8_t, kRecordSize> data) {
  for (const GlobalField& field : kGlobalFields) {
    uint8_t value = std::min(data[field.dataByte], field.max);
    // The display mode arrives as 0 or 2; any value above 0 means "numeric".
    if (field.dataByte == kGlobalPotDisplay) {
      value = data[field.dataByte] > 0 ? kPotDisplayNumeric : 0;
    }
    state.globals[field.dataByte] = value;
  }
  for (int k = 0; k < kGlobalMirrorCount; ++k) {
    const int index = kGlobalMirrorIndexFirst + k;
    RecordParam(state.editBuffer, index) =
        ClampSoundValue(index, data[kGlobalMirrorFirst + static_cast<std::size_t>(k)]);
  }
}

void ApplyControllerMap(PedalState& state, std::span<const uint8_t, kRecordSize> data) {
  for (std::size_t k = 0; k < state.controllerMap.size(); ++k) {
    state.controllerMap[k] = data[k] & kDataMask;
  }
}

void ApplyProgramMap(PedalState& state, std::span<const uint8_t, kRecordSize> data) {
  for (std::size_t p = 0; p < state.programMap.size(); ++p)
    state.programMap[p] = data[p] & kDataMask;
}

}  // namespace qd3::sim
