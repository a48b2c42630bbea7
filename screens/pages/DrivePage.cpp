// The drive page: ten amplifier voicings, pre-amp gain, presence and compression.
#include <array>

#include "screens/pages/PageParts.h"

namespace qd3 {
namespace {

// Parameter 4 "Crunch" is shown as presence; 69 "Compression" mirrors "Dynamics".
constexpr std::array<KnobCell, 3> kCells = {{
    {"PRE-AMP", 1, 47, "50.00", "%", 380.f, CellRow::kA},
    {"PRESENCE", 4, 34, "0.00", "%", 630.f, CellRow::kA},
    {"COMPRESSION", 69, 92, "0.00", "%", 880.f, CellRow::kA},
}};

}  // namespace

void BuildDrivePage(ScreenBuild& s) {
  AttachVoicingButtons(s, kDriveTemplates, kFirstDriveButtonTag, group::kDrive,
                       &QD3Control::OnDriveTemplateButton);
  AttachKnobCells(s, kCells, group::kDrive);
}

}  // namespace qd3
