#include "resources/factory_bank/FactoryBankBuilder.h"

#include <algorithm>
#include <cstdio>

#include "params/ParamCatalogue.h"
#include "protocol/MessageBuilders.h"
#include "resources/factory_bank/FactorySounds.h"

namespace qd3::factory_bank {
namespace {

constexpr int kSeventhBitShift = 7;
constexpr int kLow7Bits = 0x7F;
// "Dynamics" below this is the expander side; the drive template raises it to this.
constexpr int kDynamicsCompressionFloor = 64;

// The catalogue, starting from every parameter's default; each set is checked against
// the parameter's range so that a typo in the tables shows up as a problem.
class RecordValues {
 public:
  RecordValues(int slot, std::vector<std::string>& problems) : mSlot(slot), mProblems(problems) {}

  void Set(int index, int raw) {
    IParam& p = mCatalogue[index];
    p.Set(raw);
    if (p.Raw() != raw) {
      char line[96];
      std::snprintf(line, sizeof line, "slot %d: parameter %d value %d outside %g..%g", mSlot,
                    index, raw, p.Info().min, p.Info().max);
      mProblems.emplace_back(line);
    }
  }

  uint8_t Raw(int index) const { return static_cast<uint8_t>(mCatalogue[index].Raw()); }

 private:
  ParamCatalogue mCatalogue;
  int mSlot;
  std::vector<std::string>& mProblems;
};

// The values the drive page's template button writes, with its rule for "Dynamics".
void ApplyDrive(RecordValues& v, const DriveTemplate& d) {
  for (int field = 0; field < kNumDriveFields; ++field) {
    const int raw = d.values[static_cast<std::size_t>(field)];
    v.Set(kDriveFieldParam[static_cast<std::size_t>(field)],
          field == kDriveDynamics ? std::max(raw, kDynamicsCompressionFloor) : raw);
  }
}

void ApplyAmbience(RecordValues& v, const AmbienceTemplate& a) {
  for (int field = 0; field < kNumAmbienceFields; ++field) {
    v.Set(kAmbienceFieldParam[static_cast<std::size_t>(field)],
          a.values[static_cast<std::size_t>(field)]);
  }
}

void ApplySound(RecordValues& v, const BaseSound& s, AmbienceTemplateId ambience) {
  const AmbienceMix& mix = MixOf(ambience);
  v.Set(kParamGain, s.gain);
  v.Set(kParamLevel, s.level);
  v.Set(kParamLow, s.low);
  v.Set(kParamMid, s.mid);
  v.Set(kParamHigh, s.high);
  v.Set(kParamGate, s.gate);
  v.Set(kParamIr, CabinetSelectorValue(s.cabinet));
  v.Set(kParamReverb, mix.reverb * s.wetPercent / 100);
  v.Set(kParamReverbDecayTime, mix.decayTime);
  v.Set(kParamReverbMode, mix.mode);
}

void ApplyFactoryBankIr(RecordValues& v, const FactoryBankIrUse& use) {
  v.Set(kParamIr, CabinetSelectorValue(8));
  v.Set(kParamIrModeB, 1);
  v.Set(kParamUserIrBHigh, use.irNumber >> kSeventhBitShift);
  v.Set(kParamUserIrBLow, use.irNumber & kLow7Bits);
}

void PutPadded(std::span<uint8_t> field, std::string_view text) {
  std::fill(field.begin(), field.end(), static_cast<uint8_t>(' '));
  std::copy_n(text.begin(), std::min(text.size(), field.size()), field.begin());
}

std::string PresetName(const BaseSound& s, int variant) {
  std::string name(s.name);
  if (variant > 0) {
    name += ' ';
    name += MixOf(s.ambiences[static_cast<std::size_t>(variant)]).suffix;
  }
  return name;
}

}  // namespace

PresetRecord BuildFactoryRecord(int slot, std::vector<std::string>& problems) {
  const BaseSound& sound = BaseSounds().at(static_cast<std::size_t>(slot % kBaseSoundCount));
  const int variant = slot / kBaseSoundCount;
  const AmbienceTemplateId ambience = sound.ambiences.at(static_cast<std::size_t>(variant));

  RecordValues values(slot, problems);
  ApplyDrive(values, kDriveTemplates.at(static_cast<std::size_t>(sound.drive)));
  ApplyAmbience(values, kAmbienceTemplates.at(static_cast<std::size_t>(ambience)));
  ApplySound(values, sound, ambience);
  const auto irUse = std::find_if(kFactoryBankIrUses.begin(), kFactoryBankIrUses.end(),
                                  [&](const FactoryBankIrUse& u) { return u.slot == slot; });
  if (irUse != kFactoryBankIrUses.end()) ApplyFactoryBankIr(values, *irUse);

  PresetRecord record;
  PresetRecord::Storage& bytes = record.Bytes();
  bytes[kFormatMajorOffset] = kPresetFormatMajor;
  bytes[kFormatMinorOffset] = kPresetFormatMinor;
  const std::string name = PresetName(sound, variant);
  if (name.size() > kPresetNameSize) problems.push_back("slot name too long: " + name);
  PutPadded(record.NameField(), name);
  for (int i = 0; i < kRecordParamCount; ++i) record.SetParam(i, values.Raw(i));
  PutPadded(record.UserIrNameField(UserIrPosition::kPosition7), "");
  // Position 8's name stays 32 zero bytes unless the preset plays a factory-bank IR.
  if (irUse != kFactoryBankIrUses.end()) {
    PutPadded(record.UserIrNameField(UserIrPosition::kPosition8), irUse->irName);
  }
  return record;
}

FactoryBank BuildFactoryBank() {
  FactoryBank bank;
  bank.messages.reserve(kFactoryBankSize);
  for (int slot = 0; slot < kFactoryPresetCount; ++slot) {
    const PresetRecord record = BuildFactoryRecord(slot, bank.problems);
    const Bytes message = BuildWriteFactoryPreset(slot, record.Bytes());
    bank.messages.insert(bank.messages.end(), message.begin(), message.end());
  }
  return bank;
}

}  // namespace qd3::factory_bank
