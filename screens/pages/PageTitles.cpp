// The titles of the detail pages, attached after every page's controls.
#include <array>
#include <string_view>

#include "screens/pages/PageParts.h"

namespace qd3 {
namespace {

struct PageTitle {
  const char* text;
  const char* group;
};

constexpr std::array<PageTitle, 11> kTitles = {{
    {"ANALOG SIM.", group::kAnalogSim},
    {"GATE", group::kGate},
    {"IMPULSE RESPONSE", group::kIrPage},
    {"AMBIENCE", group::kAmbience},
    {"DRIVE", group::kDrive},
    {"LOW FILTER", group::kLowFilter},
    {"MID FILTER", group::kMidFilter},
    {"HIGH FILTER", group::kHighFilter},
    {"PRE-AMP", group::kPreamp},
    {"MASTER LEVEL", group::kLevel},
    {"AUTO FILTER", group::kAutoFilter},
}};

}  // namespace

void BuildPageTitles(ScreenBuild& s) {
  for (const PageTitle& t : kTitles) {
    AttachPageTitle(s, t.text, t.group, std::string_view(t.group) == group::kIrPage);
  }
}

}  // namespace qd3
