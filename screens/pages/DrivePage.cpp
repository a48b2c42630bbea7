// The drive page: ten amplifier voicings, pre-amp gain, presence and compression.
#include <array>

#include "screens/pages/PageParts.h"

namespace qd3 {
namespace {

constexpr std::array<VoicingButton, 10> kVoicings = {{
    {"amp-blond.png", 82},
    {"amp-liverpool.png", 83},
    {"amp-british.png", 84},
    {"amp-caliclassic.png", 85},
    {"amp-boutiquea.png", 86},
    {"amp-tweed.png", 87},
    {"amp-topboost.png", 88},
    {"amp-plexi.png", 89},
    {"amp-calimetal.png", 90},
    {"amp-boutiqueb.png", 91},
}};

// Parameter 4 "Crunch" is shown as presence; 69 "Compression" mirrors "Dynamics".
constexpr std::array<KnobCell, 3> kCells = {{
    {"PRE-AMP", 1, 47, "50.00", "%", 380.f, CellRow::kA},
    {"PRESENCE", 4, 34, "0.00", "%", 630.f, CellRow::kA},
    {"COMPRESSION", 69, 92, "0.00", "%", 880.f, CellRow::kA},
}};

}  // namespace

void BuildDrivePage(ScreenBuild& s) {
  AttachVoicingButtons(s, kVoicings, kGroupDrive, &QD3Control::OnDriveTemplateButton);
  AttachKnobCells(s, kCells, kGroupDrive);
}

}  // namespace qd3
