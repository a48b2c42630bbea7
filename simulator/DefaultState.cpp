#include "simulator/DefaultState.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "protocol/Name32.h"

namespace qd3::sim {
namespace {

struct UserIrSeed {
  int number;
  const char* name;
};

// The user IRs a new pedal carries, and which demo presets use them.
constexpr std::array<UserIrSeed, 5> kDemoUserIrs = {{
    {0, "Demo Greenback 4x12"},
    {1, "Demo Tweed 1x12"},
    {2, "Demo Vintage 2x12"},
    {3, "Demo Modern 4x12"},
    {130, "Demo Ribbon Blend"},
}};
constexpr int kSlotsUsingOwnIrA = 4;      // slots 0..3 use user IR n in position 7
constexpr int kSlotUsingIrB = 2;          // slot 2 also uses user IR 130 in position 8
constexpr int kFirstSlotUsingBankIr = 4;  // slots 4..6 use factory-bank IRs 256..258
constexpr int kSlotsUsingBankIr = 3;

constexpr std::array<const char*, kCabinetCount> kCabinetNames = {
    "TOLVANE",   "BLONDE 2x12", "TWEED 4x10", "CALI 1x12",
    "CALI 4x12", "BLUE 2x12",   "BRIT 2x12",  "BOUTIQUE 4x12",
};
constexpr std::array<const char*, 8> kBankCabinets = {
    "Brit 4x12",     "Blond 2x12", "Tweed 4x10",   "Cali 1x12",
    "Boutique 2x12", "Blue 2x12",  "Vintage 1x12", "Modern 4x12",
};
constexpr std::array<const char*, 4> kBankMics = {"Dyn57", "Ribbon121", "Cond87", "Blend"};

// Cabinet selector values that land exactly on positions 0..8.
constexpr std::array<uint8_t, 9> kPositionValues = {1, 16, 32, 48, 64, 80, 96, 112, 127};
constexpr int kPositionUserA = 7;
constexpr int kPositionUserB = 8;

constexpr int kParamIrSelector = 14;
constexpr int kParamReverbExtension = 19;
constexpr int kParamAutoGain = 50;
constexpr int kParamTuner = 52;
constexpr int kParamReverbMode = 57;
constexpr int kParamAutoFilterOn = 60;

constexpr uint16_t kQ15One = 0x7FFF;
constexpr uint16_t kSyntheticGain = 0x5A82;  // about 0.707

void PutLe16(IrImage& image, std::size_t offset, uint16_t value) {
  image[offset] = static_cast<uint8_t>(value & 0xFF);
  image[offset + 1] = static_cast<uint8_t>(value >> 8);
}

IrImage BlankImage(uint16_t gain, std::string_view name) {
  IrImage image{};
  PutLe16(image, kIrFormatOffset, 1);
  PutLe16(image, kIrGainOffset, gain);
  WriteName32(name, std::span<uint8_t>(image).subspan(kIrNameOffset32).first<kNameSize>());
  return image;
}

std::string BankIrName(int k) {
  return std::string(kBankCabinets[static_cast<std::size_t>(k) / kBankMics.size()]) + " " +
         kBankMics[static_cast<std::size_t>(k) % kBankMics.size()];
}

std::string UserIrName(int number) {
  for (const UserIrSeed& seed : kDemoUserIrs) {
    if (seed.number == number) return seed.name;
  }
  return {};
}

void WriteRecordName(Record& record, std::size_t offset, std::string_view name) {
  WriteName32(name, std::span<uint8_t>(record).subspan(offset).first<kNameSize>());
}

// A deterministic spread of -24..24 around the start value, different per slot and index.
int Variation(int slot, int index) {
  return (slot * 29 + index * 17) % 49 - 24;
}

std::vector<IrImage> DefaultUserIrs() {
  std::vector<IrImage> irs(kUserIrCount, EmptyIrImage());
  for (const UserIrSeed& seed : kDemoUserIrs) {
    irs[static_cast<std::size_t>(seed.number)] =
        MakeSyntheticIr(seed.name, static_cast<uint32_t>(seed.number + 1));
  }
  return irs;
}

std::vector<IrImage> DefaultCabinetIrs() {
  std::vector<IrImage> irs;
  for (int k = 0; k < kCabinetCount; ++k) {
    irs.push_back(MakeSyntheticIr(kCabinetNames[static_cast<std::size_t>(k)],
                                  static_cast<uint32_t>(1000 + k)));
  }
  return irs;
}

std::vector<IrImage> DefaultFactoryBankIrs() {
  std::vector<IrImage> irs;
  for (int k = 0; k < kFactoryBankCount; ++k) {
    irs.push_back(MakeSyntheticIr(BankIrName(k), static_cast<uint32_t>(500 + k)));
  }
  return irs;
}

}  // namespace

Record DefaultPresetRecord(int slot) {
  Record record{};
  record[kRecordFormatMajorOffset] = kRecordFormatMajor;
  record[kRecordFormatMinorOffset] = kRecordFormatMinor;
  char name[kNameSize + 1];
  std::snprintf(name, sizeof name, "Demo Preset %02d", slot + 1);
  WriteRecordName(record, kRecordNameOffset, name);
  WriteRecordName(record, kRecordIrNameAOffset, "");
  WriteRecordName(record, kRecordIrNameBOffset, "");

  for (int i = 0; i < kSoundParamCount; ++i) {
    const ParamRange& range = kSoundParams[static_cast<std::size_t>(i)];
    const bool fullRange = range.min == 0 && range.max == 127;
    RecordParam(record, i) =
        fullRange ? ClampSoundValue(i, range.start + Variation(slot, i)) : range.start;
  }
  RecordParam(record, kParamReverbExtension) = static_cast<uint8_t>(2 + slot % 4);
  RecordParam(record, kParamReverbMode) = static_cast<uint8_t>(slot % 5);
  RecordParam(record, kParamAutoFilterOn) = slot % 3 == 0 ? 1 : 0;
  RecordParam(record, kParamAutoGain) = 1;
  RecordParam(record, kParamTuner) = 0;
  RecordParam(record, kParamIrSelector) = kPositionValues[1 + static_cast<std::size_t>(slot) % 6];

  // Each slot owns user IRs n (position 7) and 128 + n (position 8).
  RecordParam(record, kParamIrModeA) = 0;
  RecordParam(record, kParamIrModeB) = 0;
  RecordParam(record, kParamIrAHigh) = 0;
  RecordParam(record, kParamIrALow) = static_cast<uint8_t>(slot);
  RecordParam(record, kParamIrBHigh) = 1;
  RecordParam(record, kParamIrBLow) = static_cast<uint8_t>(slot);

  if (slot < kSlotsUsingOwnIrA) {
    RecordParam(record, kParamIrModeA) = 1;
    RecordParam(record, kParamIrSelector) = kPositionValues[kPositionUserA];
    WriteRecordName(record, kRecordIrNameAOffset, UserIrName(slot));
  }
  if (slot == kSlotUsingIrB) {
    RecordParam(record, kParamIrModeB) = 1;
    WriteRecordName(record, kRecordIrNameBOffset, UserIrName(kPresetCount + slot));
  }
  const int bankIr = slot - kFirstSlotUsingBankIr;
  if (bankIr >= 0 && bankIr < kSlotsUsingBankIr) {
    RecordParam(record, kParamIrModeB) = 1;
    RecordParam(record, kParamIrBHigh) = kFactoryBankFirst >> 7;
    RecordParam(record, kParamIrBLow) = static_cast<uint8_t>(bankIr);
    RecordParam(record, kParamIrSelector) = kPositionValues[kPositionUserB];
    WriteRecordName(record, kRecordIrNameBOffset, BankIrName(bankIr));
  }
  return record;
}

IrImage MakeSyntheticIr(std::string_view name, uint32_t seed) {
  IrImage image = BlankImage(kSyntheticGain, name);
  uint32_t noise = seed * 2654435761u + 12345u;
  // Decay time and first reflection differ per seed so that IRs are told apart on screen.
  const double decay = 0.990 + 0.0008 * static_cast<double>(seed % 10);
  double envelope = 0.6;
  for (std::size_t n = 0; n < kIrSampleCount; ++n) {
    noise = noise * 1664525u + 1013904223u;
    const double white = static_cast<double>(noise >> 8) / static_cast<double>(1u << 24) * 2 - 1;
    const double sample = n == 0 ? 0.9 : envelope * white;
    envelope *= decay;
    const auto q15 = static_cast<int16_t>(sample * 32767.0);
    PutLe16(image, kIrSamplesOffset + 2 * n, static_cast<uint16_t>(q15));
  }
  return image;
}

IrImage EmptyIrImage() {
  IrImage image = BlankImage(kQ15One, "");
  PutLe16(image, kIrSamplesOffset, kQ15One);
  return image;
}

void RestoreFactoryPresets(PedalState& state) {
  state.presets = state.factoryPresets;
  state.editBuffer = state.presets.at(static_cast<std::size_t>(state.currentPreset));
}

void RestoreFactorySettings(PedalState& state) {
  state.globals.fill(0);
  for (const GlobalField& field : kGlobalFields) state.globals[field.dataByte] = field.start;
  for (int k = 0; k < kControllerCount; ++k) {
    state.controllerMap[static_cast<std::size_t>(k)] = static_cast<uint8_t>(kControllerStart + k);
  }
  for (int p = 0; p < kPresetCount; ++p) {
    state.programMap[static_cast<std::size_t>(p)] = static_cast<uint8_t>(p);
  }
}

void RestoreEverything(PedalState& state) {
  state.currentPreset = 0;
  RestoreFactoryPresets(state);
  RestoreFactorySettings(state);
  state.userIrs = DefaultUserIrs();
  state.cabinetIrs = DefaultCabinetIrs();
}

PedalState DefaultPedalState() {
  PedalState state;
  for (int slot = 0; slot < kPresetCount; ++slot) {
    state.factoryPresets.push_back(DefaultPresetRecord(slot));
  }
  state.factoryBankIrs = DefaultFactoryBankIrs();
  state.serial = kDefaultSerial;
  state.firmwareVersion = kDefaultFirmwareVersion;
  RestoreEverything(state);
  return state;
}

}  // namespace qd3::sim
