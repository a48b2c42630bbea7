#pragma once

// What the area builders of BuildEditorScreen share while the screen is built: the
// drawing context, the editor, the styles and the controls later steps refer to.

#include <array>

#include "QD3Control.h"
#include "screens/EditorDynamicsGraph.h"
#include "screens/ScreenStyles.h"
#include "toolkit/IGraphics.h"
#include "toolkit/graphs/IFreqResponseGraph.h"
#include "toolkit/graphs/IInvisibleSelectControl3.h"

namespace qd3 {

inline constexpr float kCanvasWidth = 1920.f;
inline constexpr float kCanvasHeight = 1200.f;

// Group names only the screens use; the editor's own are in QD3ControlScreenNames.h.
inline constexpr const char* kGroupBackground = "background";
inline constexpr const char* kGroupFilterLed = "filterled";
inline constexpr const char* kGroupIrDisplay = "irdisplay";
inline constexpr const char* kGroupCustomIr = "customircontrols";
inline constexpr const char* kGroupGate = "gatecontrols";
inline constexpr const char* kGroupAnalogSim = "analogsimcontrols";
inline constexpr const char* kGroupAmbience = "ambiencecontrols";
inline constexpr const char* kGroupAmbienceEcho = "ambiencecontrols2";
inline constexpr const char* kGroupDrive = "drivecontrols";
inline constexpr const char* kGroupPreamp = "preampcontrols";
inline constexpr const char* kGroupLevel = "levelcontrols";
inline constexpr const char* kGroupAutoFilter = "autofiltercontrols";
inline constexpr const char* kGroupLowFilter = "lowfiltercontrols";
inline constexpr const char* kGroupMidFilter = "midfiltercontrols";
inline constexpr const char* kGroupHighFilter = "highfiltercontrols";
inline constexpr const char* kGroupIrPage = "ircontrols";

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
