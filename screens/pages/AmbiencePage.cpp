// The ambience page: seven reverb voicings with level and decay, and the echo time
// in a group of its own that only the echo voicings show.
#include <array>

#include "screens/pages/PageParts.h"

namespace qd3 {
namespace {

constexpr std::array<VoicingButton, 7> kVoicings = {{
    {"radio-room.png", 75},
    {"radio-hall.png", 76},
    {"radio-spring.png", 77},
    {"radio-plate.png", 78},
    {"radio-chorus.png", 79},
    {"radio-echo.png", 80},
    {"radio-echoverb.png", 81},
}};

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
  AttachVoicingButtons(s, kVoicings, kGroupAmbience, &QD3Control::OnAmbienceTemplateButton);
  AttachKnobCells(s, kCells, kGroupAmbience);
  AttachKnobCells(s, kEchoCells, kGroupAmbienceEcho);
}

}  // namespace qd3
