// The pre-amp page: the parallel clean level (parameter 36).
#include <array>

#include "screens/pages/PageParts.h"

namespace qd3 {
namespace {

// In the page's panel, where the other pages' first knob stands (further right it lay over
// the response graph).
constexpr std::array<KnobCell, 1> kCells = {{
    {"PARALLEL CLEAN", 36, 50, "50.0", "%", 380.f, CellRow::kA},
}};

}  // namespace

void BuildPreampPage(ScreenBuild& s) {
  AttachKnobCells(s, kCells, group::kPreamp);
}

}  // namespace qd3
