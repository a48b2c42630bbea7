// The about screen: the full-canvas picture with the editor's version, closed by a
// click anywhere.
#include <cstdio>
#include <memory>

#include "QD3ControlScreenNames.h"
#include "screens/ScreenPictures.h"
#include "screens/overlays/AboutVersion.h"
#include "screens/overlays/OverlayParts.h"
#include "screens/overlays/Overlays.h"
#include "toolkit/controls/ITextControl.h"

namespace qd3 {
namespace {

constexpr FrameSize kAboutPictureSize{kCanvasWidth, kCanvasHeight};
constexpr IRECT kVersionRect{1275.f, 310.f, 1375.f, 360.f};
constexpr float kVersionTextSize = 45.f;

}  // namespace

void BuildAboutScreen(ScreenBuild& s) {
  AttachPicture(s.graphics, "about.png", 0.f, 0.f, kAboutPictureSize, kNoTag, group::kAbout);
  char version[32];
  std::snprintf(version, sizeof version, "v%s", kAboutVersion);
  s.graphics.AttachControl(
      std::make_unique<ITextControl>(kVersionRect, version,
                                     s.styles.overlayText.WithSize(kVersionTextSize)),
      kNoTag, group::kAbout);
  // Above the picture and the text: every click on the screen closes it.
  QD3Control* editor = &s.editor;
  AttachClickCatcher(
      s, [editor](IControl*) { editor->CloseAbout(); }, group::kAbout);
  s.graphics.HideGroup(group::kAbout, true);
}

}  // namespace qd3
