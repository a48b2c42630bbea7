// The drive page: ten amplifier voicings, pre-amp gain, presence and compression.
#include <array>
#include <memory>

#include "params/PageNumbers.h"
#include "screens/pages/PageParts.h"
#include "toolkit/controls/IVButtonControl.h"

namespace qd3 {
namespace {

// Parameter 4 "Crunch" is shown as presence; 69 "Compression" mirrors "Dynamics".
constexpr std::array<KnobCell, 3> kCells = {{
    {"PRE-AMP", 1, 47, "50.00", "%", 380.f, CellRow::kA},
    {"PRESENCE", 4, 34, "0.00", "%", 630.f, CellRow::kA},
    {"COMPRESSION", 69, 92, "0.00", "%", 880.f, CellRow::kA},
}};

// The two pages no knob of the pedal face opens: the pre-amp's parallel clean level and
// the analog simulation's smoothing are reached from here.
struct PageLink {
  IRECT rect;
  const char* label;
  int page;
};
constexpr std::array<PageLink, 2> kPageLinks = {{
    {{380.f, 1102.f, 580.f, 1140.f}, "PARALLEL CLEAN \xE2\x80\xBA", kPagePreamp},
    {{630.f, 1102.f, 830.f, 1140.f}, "ANALOG SIM. \xE2\x80\xBA", kPageAnalogSim},
}};

}  // namespace

void BuildDrivePage(ScreenBuild& s) {
  AttachVoicingButtons(s, kDriveTemplates, kFirstDriveButtonTag, group::kDrive,
                       &QD3Control::OnDriveTemplateButton);
  AttachKnobCells(s, kCells, group::kDrive);
  QD3Control* editor = &s.editor;
  for (const PageLink& link : kPageLinks) {
    s.graphics.AttachControl(
        std::make_unique<IVButtonControl>(
            link.rect, [editor, page = link.page](IControl*) { editor->ShowPage(page); },
            link.label, s.styles.ButtonStyleWithLabelSize(kButtonLabelSmall)),
        kNoTag, group::kDrive);
  }
}

}  // namespace qd3
