#pragma once

// What the area builders of BuildEditorScreen share while the screen is built: the
// drawing context, the editor, the styles and the controls later steps refer to.

#include <array>

#include "QD3Control.h"
#include "params/GroupNames.h"
#include "screens/EditorDynamicsGraph.h"
#include "screens/ScreenStyles.h"
#include "toolkit/IGraphics.h"
#include "toolkit/graphs/IFreqResponseGraph.h"
#include "toolkit/graphs/IInvisibleSelectControl3.h"

namespace qd3 {

inline constexpr float kCanvasWidth = 1920.f;
inline constexpr float kCanvasHeight = 1200.f;

struct ScreenBuild {
  IGraphics& graphics;
  QD3Control& editor;
  ScreenStyles styles;
  ISVG vectorKnob;
  IBitmap micHandle;
  IBitmap micTrack;

  // Filled by the steps that create them.
  std::array<IControlHandle*, kPresetCount> presetRows{};
  IInvisibleSelectControl3* presetPicker = nullptr;
  IInvisibleSelectControl3* irPositionPicker = nullptr;
  IFreqResponseGraph* irDisplay = nullptr;
  EditorDynamicsGraph* dynamicsGraph = nullptr;
};

}  // namespace qd3
