#pragma once

// The building blocks the detail pages share: knob cells, titles and voicing buttons.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "params/SoundTemplateTables.h"
#include "screens/ScreenBuild.h"

namespace qd3 {

// A cell's row: A lies lower on the page than B.
enum class CellRow { kA, kB };

// Caption, knob, value text and unit text in one column 200 units wide from `left`.
struct KnobCell {
  const char* caption;
  int param;
  int valueTag;
  const char* initialValue;
  const char* unit;
  float left;
  CellRow row;
  int captionTag = kNoTag;  // only the analog-sim caption, whose text the editor changes
};

// Attaches a cell in the order caption, knob, value, unit, all in `group`.
void AttachKnobCell(ScreenBuild& s, const KnobCell& cell, std::string_view group);
void AttachKnobCells(ScreenBuild& s, std::span<const KnobCell> cells, std::string_view group);

// A page title; the impulse-response page's is wider.
void AttachPageTitle(ScreenBuild& s, const char* title, std::string_view group, bool wide);

// The voicing buttons of one template table. Button k shows the picture of row k,
// carries tag firstTag + k, takes the k-th fixed point of the voicing block and calls
// action(k, its value) on the press and on the release.
using VoicingAction = void (QD3Control::*)(int k, double buttonValue);
void AttachVoicingButton(ScreenBuild& s, int k, const char* picture, int tag,
                         std::string_view group, VoicingAction action);
template <typename Template, std::size_t N>
void AttachVoicingButtons(ScreenBuild& s, const std::array<Template, N>& templates, int firstTag,
                          std::string_view group, VoicingAction action) {
  for (std::size_t k = 0; k < N; ++k) {
    const int i = static_cast<int>(k);
    AttachVoicingButton(s, i, templates[k].picture, firstTag + i, group, action);
  }
}

// Page builders, each in its own file, called by BuildDetailPages in this order.
void BuildAmbiencePage(ScreenBuild& s);
void BuildAnalogSimPage(ScreenBuild& s);
void BuildGatePage(ScreenBuild& s);
void BuildIrPageFrame(ScreenBuild& s);
void BuildLevelPage(ScreenBuild& s);
void BuildDrivePage(ScreenBuild& s);
void BuildPreampPage(ScreenBuild& s);
void BuildLowFilterPage(ScreenBuild& s);
void BuildMidFilterPage(ScreenBuild& s);
void BuildHighFilterPage(ScreenBuild& s);
void BuildAutoFilterPage(ScreenBuild& s);
void BuildPageTitles(ScreenBuild& s);

}  // namespace qd3
