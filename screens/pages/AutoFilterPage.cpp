// The auto-filter page.
#include <array>

#include "screens/pages/PageParts.h"

namespace qd3 {
namespace {

// Parameter 61 is the 0..127 level of the auto filter ("AutoFiler Level").
constexpr std::array<KnobCell, 1> kCells = {{
    {"LEVEL", 61, 49, "0.00", "%", 630.f, CellRow::kB},
}};

}  // namespace

void BuildAutoFilterPage(ScreenBuild& s) {
  AttachKnobCells(s, kCells, group::kAutoFilter);
}

}  // namespace qd3
