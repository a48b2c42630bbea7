// The build order fixes which control lies on top where rectangles overlap: later
// is above.
#include "screens/BuildEditorScreen.h"

#include "QD3Control.h"
#include "QD3ControlScreenNames.h"
#include "screens/MainScreen.h"
#include "screens/PedalFace.h"
#include "screens/PresetListMenu.h"
#include "screens/ScreenBuild.h"
#include "screens/ScreenPictures.h"
#include "screens/overlays/Overlays.h"
#include "screens/pages/DetailPages.h"
#include "settings/MidiMapBlocks.h"
#include "toolkit/Events.h"
#include "toolkit/IGraphics.h"
#include "toolkit/controls/IEditableTextControl.h"

#include <optional>

namespace qd3 {
namespace {

constexpr float kResizerHandle = 20.f;
// Under the full-size background picture; seen only where the picture is missing.
constexpr FrameSize kBackgroundSize{kCanvasWidth, kCanvasHeight};

void AttachBackground(ScreenBuild& s) {
  s.graphics.AttachPanelBackground(palette::kWindowBackground);
  const IBitmap picture = s.graphics.LoadBitmap("background.png");
  const float width = picture.IsValid() ? picture.FW() : kBackgroundSize.w;
  AttachPicture(s.graphics, "background.png", (kCanvasWidth - width) / 2.f, 0.f,
                {width, picture.IsValid() ? picture.FH() : kBackgroundSize.h}, kNoTag,
                group::kBackground);
}

void LoadPictures(ScreenBuild& s) {
  s.vectorKnob = s.graphics.LoadSVG("vector-knob.svg", "px", 72.f);
  // Loaded like the others though no control draws it; it need not exist.
  s.graphics.LoadSVG("micbg.svg", "px", 72.f);
  s.micHandle = s.graphics.LoadBitmap("mic.png");
  s.micTrack = s.graphics.LoadBitmap("micbg.png");
}

// Once built, the impulse-response page is the one shown; the pedal face waits for a
// pedal to answer.
void ShowStartPage(IGraphics& g) {
  for (const char* group : {group::kAnalogSim, group::kGate}) g.HideGroup(group, true);
  g.HideGroup(group::kIrPage, false);
  for (const char* group :
       {group::kAmbience, group::kAmbienceEcho, group::kDrive, group::kLowFilter, group::kMidFilter,
        group::kHighFilter, group::kPreamp, group::kLevel, group::kAutoFilter}) {
    g.HideGroup(group, true);
  }
  g.DisableGroup(group::kNeedsPedal, true);
}

// The shortcut keys, unmodified except Ctrl+S, Ctrl+Z and Ctrl+Y; a key a control or the text entry
// takes never gets here.
std::optional<QD3Control::EditorKey> EditorKeyFor(const IKeyPress& key) {
  using Key = QD3Control::EditorKey;
  const bool plain = !key.C && !key.A && !key.S;
  if (plain && key.vk == kVK_LEFT) return Key::kPreviousPreset;
  if (plain && key.vk == kVK_RIGHT) return Key::kNextPreset;
  if (plain && key.vk == kVK_ESCAPE) return Key::kCloseOverlay;
  if (plain && key.vk == kVK_UP) return Key::kListUp;
  if (plain && key.vk == kVK_DOWN) return Key::kListDown;
  if (plain && key.vk == kVK_PRIOR) return Key::kListPageUp;
  if (plain && key.vk == kVK_NEXT) return Key::kListPageDown;
  if (plain && key.vk == kVK_HOME) return Key::kListFirst;
  if (plain && key.vk == kVK_END) return Key::kListLast;
  if (plain && key.vk == kVK_RETURN) return Key::kListPick;
  if (key.C && !key.A && key.vk == 'S') return Key::kStore;
  if (key.C && !key.A && key.vk == 'Z') return key.S ? Key::kRedo : Key::kUndo;
  if (key.C && !key.A && !key.S && key.vk == 'Y') return Key::kRedo;
  if (plain && key.vk == 'C') return Key::kCompare;
  return std::nullopt;
}

// From here on the editor writes to the screen.
void OpenScreenToEditor(ScreenBuild& s) {
  QD3Control& editor = s.editor;
  IGraphics& graphics = s.graphics;
  s.graphics.SetUnhandledKeyHandler([&editor, &graphics](const IKeyPress& key) {
    // Ctrl+F only moves the focus: a screen matter.
    if (key.C && !key.A && !key.S && key.vk == 'F') {
      auto* filter =
          dynamic_cast<IEditableTextControl*>(graphics.GetControlWithTag(kTagPresetFilter));
      if (filter) filter->BeginEditing();
      return filter != nullptr;
    }
    if (key.vk == kVK_APPS) {
      auto* list = dynamic_cast<PresetListMenu*>(graphics.GetControlWithTag(kTagPresetListPicker));
      if (list) list->OpenForHighlighted();
      return list != nullptr;
    }
    const std::optional<QD3Control::EditorKey> k = EditorKeyFor(key);
    return k && editor.OnEditorKey(*k);
  });
  s.editor.AttachScreen(&s.graphics);
  s.editor.AttachPresetRows(s.presetRows);
  s.editor.AttachDynamicsGraph(s.dynamicsGraph);
  IFreqResponseGraph* display = s.irDisplay;
  s.editor.SetIrDisplaySink(
      [display](const IrWorkingBuffer& buffer) { display->SetTimeData(buffer.samples); });
}

}  // namespace

void BuildEditorScreen(IGraphics& graphics, QD3Control& editor) {
  // 1. Once per drawing context.
  if (graphics.NControls() > 0) return;
  ScreenBuild s{graphics, editor, {}, {}, {}, {}};
  // 2..3. Tooltips with mouse-over tracking; the corner resizer changes the scale.
  graphics.EnableTooltips(true);
  graphics.AttachCornerResizer(kResizerHandle);
  // 4. Background.
  AttachBackground(s);
  // 5. The text entry, popup menu and value bubble belong to every IGraphics from
  //    its construction; nothing to attach here.
  // 6. Fonts, styles, pictures.
  LoadScreenFonts(graphics);
  s.styles = MakeScreenStyles();
  LoadPictures(s);
  // 7..8.
  BuildPedalKnobsAndDisplay(s);
  BuildPresetList(s);
  // 9..13.
  BuildDetailPages(s);
  BuildPresetFileButtons(s);
  BuildPedalSwitches(s);
  BuildIrPageControls(s);
  BuildGraphArea(s);
  // 14. The factory IRs are read from the cache by the editor's LoadCacheState (23).
  // 15..16.
  BuildCabinetList(s);
  BuildNameAndStatus(s);
  // 17. The firmware screens, hidden; then the hidden user-IR list rows.
  BuildFirmwareScreens(s);
  BuildUserIrListRows(s);
  // 18. The user-IR names are read from the cache by LoadCacheState (23).
  // 19. The settings and map screens, each hidden; the program map starts as the
  //     identity.
  BuildSettingsPage(s);
  BuildControllerMapPage(s);
  BuildProgramMapPage(s);
  editor.programMap = IdentityProgramMap();
  // 20. The about screen and the two progress panels, each hidden.
  BuildAboutScreen(s);
  BuildProgressPanels(s);
  // 21.
  ShowStartPage(graphics);
  // 22.
  OpenScreenToEditor(s);
  // 23. Factory IRs installed, presets folder scanned, lists filled from the cache.
  editor.LoadCacheState();
  // 24. The draw scale from the settings file is applied by the window, which
  //     creates the context at that scale.
}

}  // namespace qd3
