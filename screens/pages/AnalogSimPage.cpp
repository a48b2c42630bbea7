// The analog-simulation page: one smoothing knob (parameter 15 "AnalogSim").
#include <array>

#include "screens/pages/PageParts.h"

namespace qd3 {
namespace {

// The caption (tag 22) names the smoothing the value selects, digital or analog.
constexpr int kTagAnalogSimTitle = 22;
constexpr std::array<KnobCell, 1> kCells = {{
    {"SMOOTHING", 15, 21, "Bypass", "%", 630.f, CellRow::kB, kTagAnalogSimTitle},
}};

}  // namespace

void BuildAnalogSimPage(ScreenBuild& s) {
  AttachKnobCells(s, kCells, group::kAnalogSim);
}

}  // namespace qd3
