// The low-filter page: gain and quality.
#include <array>

#include "screens/pages/PageParts.h"

namespace qd3 {
namespace {

constexpr std::array<KnobCell, 2> kCells = {{
    {"GAIN", 6, 36, "0.00", "dB", 480.f, CellRow::kB},
    {"QUALITY", 48, 37, "0.00", "Level", 760.f, CellRow::kB},
}};

}  // namespace

void BuildLowFilterPage(ScreenBuild& s) {
  AttachKnobCells(s, kCells, group::kLowFilter);
}

}  // namespace qd3
