// The noise-gate page: threshold, ratio and release.
#include <array>

#include "screens/pages/PageParts.h"

namespace qd3 {
namespace {

// Parameter 37 is the gate ratio, though the catalogue names it "Compressor Ratio".
constexpr std::array<KnobCell, 3> kCells = {{
    {"THRESHOLD", 9, 20, "0.00", "dB", 380.f, CellRow::kB},
    {"RATIO", 37, 17, "1:1", "dB", 630.f, CellRow::kB},
    {"RELEASE", 39, 19, "50", "ms", 880.f, CellRow::kB},
}};

}  // namespace

void BuildGatePage(ScreenBuild& s) {
  AttachKnobCells(s, kCells, group::kGate);
}

}  // namespace qd3
