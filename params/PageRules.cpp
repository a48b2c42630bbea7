#include "params/PageRules.h"

#include <array>

namespace qd3 {
namespace {

constexpr std::array<const char*, 19> kDetailGroups = {
    "analogsimcontrols", "gatecontrols",       "dynamicscontrols",    "expcontrols",
    "compcontrols",      "ircontrols",         "irdisplay",           "ambiencecontrols",
    "ambiencecontrols2", "buzzfiltercontrols", "punchfiltercontrols", "crunchfiltercontrols",
    "lowfiltercontrols", "midfiltercontrols",  "highfiltercontrols",  "drivecontrols",
    "preampcontrols",    "levelcontrols",      "autofiltercontrols",
};

constexpr const char* kIrDisplay = "irdisplay";
constexpr std::array<const char*, 1> kGatePage = {"gatecontrols"};
constexpr std::array<const char*, 2> kAmbiencePage = {"ambiencecontrols", kIrDisplay};
constexpr std::array<const char*, 2> kIrPage = {"ircontrols", kIrDisplay};
constexpr std::array<const char*, 2> kAnalogSimPage = {"analogsimcontrols", kIrDisplay};
constexpr std::array<const char*, 2> kLowPage = {"lowfiltercontrols", kIrDisplay};
constexpr std::array<const char*, 2> kMidPage = {"midfiltercontrols", kIrDisplay};
constexpr std::array<const char*, 2> kHighPage = {"highfiltercontrols", kIrDisplay};
constexpr std::array<const char*, 1> kDrivePage = {"drivecontrols"};
constexpr std::array<const char*, 2> kPreampPage = {"preampcontrols", kIrDisplay};
constexpr std::array<const char*, 2> kLevelPage = {"levelcontrols", kIrDisplay};
constexpr std::array<const char*, 2> kAutoFilterPage = {"autofiltercontrols", kIrDisplay};

}  // namespace

std::optional<int> PageOpenedBy(int index, int currentPage) {
  switch (index) {
    case 0:  // "Level"
      return kPageLevel;
    case 1:  // "Gain"
      if (currentPage == kPageDrive) return std::nullopt;
      return kPagePreamp;
    case 5:  // "Drive"
      return kPageDrive;
    case 6:  // "Low"
      return kPageLowFilter;
    case 7:  // "High"
      return kPageHighFilter;
    case 8:  // "Reverb"
      return kPageAmbience;
    case 9:  // "Gate"
      return kPageGate;
    case 12:  // "Mid"
    case 13:  // "Mid Shift"
      return kPageMidFilter;
    case 15:  // "AnalogSim"
      return kPageAnalogSim;
    case 61:  // "AutoFiler Level"
      return kPageAutoFilter;
    case 74:  // click target over the IR display
      return kPageIr;
    default:
      return std::nullopt;
  }
}

std::optional<int> PageToShowAfterChange(int index, int currentPage, bool applyingDeviceValues) {
  const std::optional<int> page = PageOpenedBy(index, currentPage);
  if (!page || !PageSwitchRuns(*page, currentPage, applyingDeviceValues)) return std::nullopt;
  return page;
}

const PageContents* PageContentsFor(int page) {
  static const PageContents kPages[] = {
      {kPageGate, kGatePage, true, true},
      {kPageAmbience, kAmbiencePage, false, true},
      {kPageIr, kIrPage, false, false},
      {kPageAnalogSim, kAnalogSimPage, false, true},
      {kPageLowFilter, kLowPage, false, true},
      {kPageMidFilter, kMidPage, false, true},
      {kPageHighFilter, kHighPage, false, true},
      {kPageDrive, kDrivePage, true, true},
      {kPagePreamp, kPreampPage, false, true},
      {kPageLevel, kLevelPage, false, true},
      {kPageAutoFilter, kAutoFilterPage, false, true},
  };
  for (const PageContents& contents : kPages) {
    if (contents.page == page) return &contents;
  }
  return nullptr;
}

std::span<const char* const> DetailPageGroups() {
  return kDetailGroups;
}

}  // namespace qd3
