#include "params/SoundTemplates.h"

#include <algorithm>

#include "params/DependentValues.h"
#include "params/PageNumbers.h"

namespace qd3 {
namespace {

const std::vector<ParamSpec>& Specs() {
  static const std::vector<ParamSpec> specs = BuildParamSpecs();
  return specs;
}

// The raw value the catalogue stores for a normalized set of parameter index.
TemplateSet MakeSet(int index, double normalized, bool byLink = false) {
  IParam param(Specs()[static_cast<size_t>(index)]);
  param.SetNormalized(normalized);
  return {index, normalized, param.Raw(), byLink};
}

// t / max: the form the drive sets and the first three ambience sets use.
TemplateSet SetOverMax(int index, int t) {
  return MakeSet(index, t / Specs()[static_cast<size_t>(index)].max);
}

// (t - min) / (max - min): the form of ambience parameters 18..24.
TemplateSet SetOverRange(int index, int t) {
  const ParamSpec& range = Specs()[static_cast<size_t>(index)];
  return MakeSet(index, (t - range.min) / (range.max - range.min));
}

}  // namespace

std::vector<TemplateSet> DriveTemplateSets(int k) {
  if (k < 0 || k >= kNumDriveTemplates) return {};
  const auto& t = kDriveTemplates[static_cast<size_t>(k)].values;
  std::vector<TemplateSet> sets;
  sets.push_back(SetOverMax(kParamGain, t[kDriveGain]));
  sets.push_back(SetOverMax(kDriveFieldParam[kDrivePunchFreq], t[kDrivePunchFreq]));
  sets.push_back(SetOverMax(kDriveFieldParam[kDriveDrive], t[kDriveDrive]));
  sets.push_back(SetOverMax(kDriveFieldParam[kDrivePresetLevel], t[kDrivePresetLevel]));
  const TemplateSet compression =
      MakeSet(kParamCompression, CompressionNormalizedFromDynamics(t[kDriveDynamics]));
  sets.push_back(compression);
  // The link of "Compression" sets "Dynamics" to the same raw value.
  sets.push_back(MakeSet(kParamDynamics, DynamicsNormalizedFromCompression(compression.raw), true));
  // Each band, then its Q: Buzz, Punch, Crunch.
  for (int j = 0; j < 3; ++j) {
    sets.push_back(SetOverMax(kDriveFieldParam[kDriveBuzz + j], t[kDriveBuzz + j]));
    sets.push_back(SetOverMax(kDriveFieldParam[kDriveBuzzQ + j], t[kDriveBuzzQ + j]));
  }
  return sets;
}

std::vector<TemplateSet> AmbienceTemplateSets(int k) {
  if (k < 0 || k >= kNumAmbienceTemplates) return {};
  const auto& t = kAmbienceTemplates[static_cast<size_t>(k)].values;
  std::vector<TemplateSet> sets;
  for (int field : {kAmbienceRoomSize, kAmbienceModulationDepth, kAmbienceModulationRate}) {
    sets.push_back(SetOverMax(kAmbienceFieldParam[static_cast<size_t>(field)], t[field]));
  }
  for (int field = kAmbienceDiffusion; field <= kAmbienceHpFilter; ++field) {
    sets.push_back(SetOverRange(kAmbienceFieldParam[static_cast<size_t>(field)], t[field]));
  }
  return sets;
}

TemplateMatch MatchTemplates(std::span<const int, kNumSoundParams> values) {
  auto equal = [&values](int field, const auto& params, const auto& row) {
    return values[static_cast<size_t>(params[static_cast<size_t>(field)])] ==
           row[static_cast<size_t>(field)];
  };
  TemplateMatch match;
  constexpr std::array<int, 6> kDriveCompared = {kDriveBuzz,   kDrivePunch,   kDriveBuzzQ,
                                                 kDrivePunchQ, kDriveCrunchQ, kDrivePunchFreq};
  for (int k = 0; k < kNumDriveTemplates; ++k) {
    const auto& row = kDriveTemplates[static_cast<size_t>(k)].values;
    if (std::all_of(kDriveCompared.begin(), kDriveCompared.end(),
                    [&](int f) { return equal(f, kDriveFieldParam, row); })) {
      match.drive = k;
      break;
    }
  }
  for (int k = 0; k < kNumAmbienceTemplates; ++k) {
    const auto& row = kAmbienceTemplates[static_cast<size_t>(k)].values;
    bool all = true;
    for (int f = kAmbienceDiffusion; f < kNumAmbienceFields; ++f) {
      all = all && equal(f, kAmbienceFieldParam, row);
    }
    if (all) {
      match.ambience = k;
      break;
    }
  }
  return match;
}

DriveHighlight DriveHighlightFor(int k, int currentPage) {
  DriveHighlight h;
  if (k >= 0 && k < kNumDriveTemplates) h.buttonValues[static_cast<size_t>(k)] = 1;
  h.redrawGroup = currentPage == kPageDrive;
  return h;
}

AmbienceHighlight AmbienceHighlightFor(int k, int currentPage) {
  AmbienceHighlight h;
  if (k >= 0 && k < kNumAmbienceTemplates) h.buttonValues[static_cast<size_t>(k)] = 1;
  const bool onAmbiencePage = currentPage == kPageAmbience;
  if (k == kEchoTemplate || k == kEchoverbTemplate) {
    h.echoTimeGroup = onAmbiencePage ? GroupChange::kShow : GroupChange::kKeep;
  } else {
    h.echoTimeGroup = GroupChange::kHide;
  }
  h.redrawButtons = onAmbiencePage;
  return h;
}

MatchHighlights MatchHighlightsFor(TemplateMatch match, int currentPage) {
  return {DriveHighlightFor(match.drive, currentPage),
          AmbienceHighlightFor(match.ambience, currentPage), currentPage == kPageDrive};
}

}  // namespace qd3
