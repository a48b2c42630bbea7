// The master-level page.
#include <array>

#include "screens/pages/PageParts.h"

namespace qd3 {
namespace {

constexpr std::array<KnobCell, 1> kCells = {{
    {"LEVEL", 0, 48, "0.00", "%", 630.f, CellRow::kB},
}};

}  // namespace

void BuildLevelPage(ScreenBuild& s) {
  AttachKnobCells(s, kCells, group::kLevel);
}

}  // namespace qd3
