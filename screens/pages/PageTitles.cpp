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
    {"ANALOG SIM.", kGroupAnalogSim},
    {"GATE", kGroupGate},
    {"IMPULSE RESPONSE", kGroupIrPage},
    {"AMBIENCE", kGroupAmbience},
    {"DRIVE", kGroupDrive},
    {"LOW FILTER", kGroupLowFilter},
    {"MID FILTER", kGroupMidFilter},
    {"HIGH FILTER", kGroupHighFilter},
    {"PRE-AMP", kGroupPreamp},
    {"MASTER LEVEL", kGroupLevel},
    {"AUTO FILTER", kGroupAutoFilter},
}};

}  // namespace

void BuildPageTitles(ScreenBuild& s) {
  for (const PageTitle& t : kTitles) {
    AttachPageTitle(s, t.text, t.group, std::string_view(t.group) == kGroupIrPage);
  }
}

}  // namespace qd3
