// The high-filter page: gain and quality.
#include <array>

#include "screens/pages/PageParts.h"

namespace qd3 {
namespace {

constexpr std::array<KnobCell, 2> kCells = {{
    {"GAIN", 7, 41, "0.00", "dB", 480.f, CellRow::kB},
    {"QUALITY", 49, 42, "0.00", "Level", 760.f, CellRow::kB},
}};

}  // namespace

void BuildHighFilterPage(ScreenBuild& s) {
  AttachKnobCells(s, kCells, group::kHighFilter);
}

}  // namespace qd3
