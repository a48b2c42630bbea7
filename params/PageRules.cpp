#include "params/PageRules.h"

#include <array>

#include "params/GroupNames.h"

namespace qd3 {
namespace {

constexpr std::array<const char*, 1> kGatePage = {group::kGate};
constexpr std::array<const char*, 2> kAmbiencePage = {group::kAmbience, group::kIrDisplay};
constexpr std::array<const char*, 2> kIrPageGroups = {group::kIrPage, group::kIrDisplay};
constexpr std::array<const char*, 2> kAnalogSimPage = {group::kAnalogSim, group::kIrDisplay};
constexpr std::array<const char*, 2> kLowPage = {group::kLowFilter, group::kIrDisplay};
constexpr std::array<const char*, 2> kMidPage = {group::kMidFilter, group::kIrDisplay};
constexpr std::array<const char*, 2> kHighPage = {group::kHighFilter, group::kIrDisplay};
constexpr std::array<const char*, 1> kDrivePage = {group::kDrive};
constexpr std::array<const char*, 2> kPreampPage = {group::kPreamp, group::kIrDisplay};
constexpr std::array<const char*, 2> kLevelPage = {group::kLevel, group::kIrDisplay};
constexpr std::array<const char*, 2> kAutoFilterPage = {group::kAutoFilter, group::kIrDisplay};

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
      {kPageIr, kIrPageGroups, false, false},
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
  return group::kDetailPageGroups;
}

}  // namespace qd3
