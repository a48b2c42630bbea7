#include "screens/pages/PageParts.h"

#include <array>
#include <memory>
#include <string>

#include "screens/ScreenPictures.h"
#include "toolkit/controls/ITextControl.h"
#include "toolkit/controls/IVKnobControl.h"

namespace qd3 {
namespace {

constexpr float kCellWidth = 200.f;

// Vertical extents of a cell's four parts (top, bottom) in rows A and B.
struct CellRows {
  float captionT, captionB;
  float knobT, knobB;
  float valueT, valueB;
  float unitT, unitB;
};
constexpr CellRows kRowA{850.f, 880.f, 890.f, 1090.f, 965.f, 1005.f, 1040.f, 1074.f};
constexpr CellRows kRowB{780.f, 810.f, 820.f, 1020.f, 895.f, 935.f, 970.f, 1004.f};

constexpr float kKnobMinAngle = -135.f;
constexpr float kKnobMaxAngle = 135.f;
constexpr float kKnobArcThickness = 18.f;
constexpr double kKnobGearing = 4.0;

constexpr IRECT kTitleRect{400.f, 664.f, 700.f, 734.f};
// The IR page's long title starts right of the mic slider, whose "MIC" it would cover.
constexpr IRECT kWideTitleRect{445.f, 664.f, 815.f, 734.f};

struct Point {
  float x;
  float y;
};
constexpr std::array<Point, 10> kVoicingPoints = {{
    {354.f, 730.f},
    {517.f, 730.f},
    {657.f, 730.f},
    {798.f, 730.f},
    {938.f, 730.f},
    {354.f, 765.f},
    {517.f, 765.f},
    {657.f, 765.f},
    {798.f, 765.f},
    {938.f, 765.f},
}};
// The voicing pictures are 140..163 units wide; a missing one keeps this click area.
constexpr FrameSize kVoicingFallback{140.f, 35.5f};

}  // namespace

void AttachKnobCell(ScreenBuild& s, const KnobCell& cell, std::string_view group) {
  const CellRows& r = cell.row == CellRow::kA ? kRowA : kRowB;
  const float left = cell.left;
  const float right = left + kCellWidth;
  IGraphics& g = s.graphics;
  g.AttachControl(std::make_unique<ITextControl>(IRECT(left, r.captionT, right, r.captionB),
                                                 cell.caption, s.styles.captionText),
                  cell.captionTag, group);
  g.AttachControl(std::make_unique<IVKnobControl>(IRECT(left, r.knobT, right, r.knobB), cell.param,
                                                  std::string{}, s.styles.knobStyle, kKnobMinAngle,
                                                  kKnobMaxAngle, kKnobArcThickness, kKnobGearing),
                  kNoTag, group)
      ->SetTooltipCaption(cell.caption ? cell.caption : "", cell.unit ? cell.unit : "");
  g.AttachControl(std::make_unique<ITextControl>(IRECT(left, r.valueT, right, r.valueB),
                                                 cell.initialValue, s.styles.valueText),
                  cell.valueTag, group);
  g.AttachControl(std::make_unique<ITextControl>(IRECT(left, r.unitT, right, r.unitB), cell.unit,
                                                 s.styles.unitText),
                  kNoTag, group);
}

void AttachKnobCells(ScreenBuild& s, std::span<const KnobCell> cells, std::string_view group) {
  for (const KnobCell& cell : cells) AttachKnobCell(s, cell, group);
}

void AttachPageTitle(ScreenBuild& s, const char* title, std::string_view group, bool wide) {
  s.graphics.AttachControl(
      std::make_unique<ITextControl>(wide ? kWideTitleRect : kTitleRect, title, s.styles.titleText),
      kNoTag, group);
}

void AttachVoicingButton(ScreenBuild& s, int k, const char* picture, int tag,
                         std::string_view group, VoicingAction action) {
  if (k < 0 || static_cast<std::size_t>(k) >= kVoicingPoints.size()) return;
  const Point& at = kVoicingPoints[static_cast<std::size_t>(k)];
  QD3Control* editor = &s.editor;
  // The button's own value tells a press on a dark button (apply) from the
  // release that finds it lit (nothing).
  AttachPictureButton(
      s.graphics, picture, at.x, at.y, kVoicingFallback,
      [editor, action, k](IControl* button) { (editor->*action)(k, button->GetValue()); }, tag,
      group);
}

}  // namespace qd3
