// The mid-filter page: gain, frequency and quality.
#include <array>

#include "screens/pages/PageParts.h"

namespace qd3 {
namespace {

constexpr std::array<KnobCell, 3> kCells = {{
    {"GAIN", 12, 38, "0.00", "dB", 380.f, CellRow::kB},
    {"FREQUENCY", 13, 40, "0.00", "Hz", 630.f, CellRow::kB},
    {"QUALITY", 47, 39, "0.00", "Level", 880.f, CellRow::kB},
}};

}  // namespace

void BuildMidFilterPage(ScreenBuild& s) {
  AttachKnobCells(s, kCells, group::kMidFilter);
}

}  // namespace qd3
