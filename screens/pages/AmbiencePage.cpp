// The ambience page: seven reverb voicings with level and decay, and the echo time
// in a group of its own that only the echo voicings show.
#include <array>

#include "screens/pages/PageParts.h"

namespace qd3 {
namespace {

constexpr std::array<KnobCell, 2> kCells = {{
    {"LEVEL", 8, 43, "50.00", "%", 380.f, CellRow::kA},
    {"DECAY", 17, 44, "0.00", "%", 630.f, CellRow::kA},
}};

// Parameter 16 "Reverb Room Size" is the echo time in ms.
constexpr std::array<KnobCell, 1> kEchoCells = {{
    {"TIME", 16, 45, "0.00", "ms", 880.f, CellRow::kA},
}};

}  // namespace

void BuildAmbiencePage(ScreenBuild& s) {
  AttachVoicingButtons(s, kAmbienceTemplates, kFirstAmbienceButtonTag, group::kAmbience,
                       &QD3Control::OnAmbienceTemplateButton);
  AttachKnobCells(s, kCells, group::kAmbience);
  AttachKnobCells(s, kEchoCells, group::kAmbienceEcho);
}

}  // namespace qd3
