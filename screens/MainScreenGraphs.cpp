// The graph area on the right of the main screen (1180..1880 x 650..1160).
#include <memory>

#include "QD3ControlScreenNames.h"
#include "screens/GraphClickTarget.h"
#include "screens/MainScreen.h"
#include "toolkit/controls/ITextControl.h"

namespace qd3 {
namespace {

constexpr IRECT kIrDisplayRect{1200.f, 685.f, 1872.f, 1135.f};
constexpr IRECT kDynamicsRect{1200.f, 700.f, 1865.f, 1130.f};
constexpr IRECT kIrHintRect{1350.f, 658.f, 1817.f, 678.f};
constexpr IRECT kGraphAreaRect{1180.f, 650.f, 1880.f, 1160.f};

// The IR display's axes: 20 Hz .. 20480 Hz (ten octaves), 100 dB from +30 dB down.
constexpr double kIrMinFreq = 20.0;
constexpr double kIrMaxFreq = 20480.0;
constexpr double kIrDbRange = 100.0;
constexpr double kIrTopDb = 30.0;

// The dynamics graph before any gate or dynamics value reached it.
constexpr double kStartGateThreshold = -60.0;
constexpr double kStartCompThreshold = -51.0;
constexpr double kStartRatio = 1.0;

}  // namespace

void BuildGraphArea(ScreenBuild& s) {
  s.irDisplay =
      s.graphics.AttachControl(std::make_unique<IFreqResponseGraph>(kIrDisplayRect, palette::kCyan),
                               kNoTag, group::kIrDisplay);
  s.irDisplay->SetRange(kIrMinFreq, kIrMaxFreq, kIrDbRange, kIrTopDb);
  s.irDisplay->SetSmoothingOff(1);

  s.dynamicsGraph = s.graphics.AttachControl(
      std::make_unique<EditorDynamicsGraph>(kDynamicsRect, palette::kCyan), kNoTag, group::kMain);
  s.dynamicsGraph->SetGateThreshold(kStartGateThreshold);
  s.dynamicsGraph->SetGateRatio(kStartRatio);
  s.dynamicsGraph->SetCompThreshold(kStartCompThreshold);
  s.dynamicsGraph->SetCompRatio(kStartRatio);
  s.dynamicsGraph->Hide(true);

  ITextControl* hint = s.graphics.AttachControl(
      std::make_unique<ITextControl>(kIrHintRect, "CLICK HERE TO EDIT IMPULSE RESPONSE",
                                     s.styles.nameText),
      kTagIrHint, group::kMain);
  hint->Hide(true);

  // Above both graphs: a click anywhere on the area opens the impulse-response page.
  s.graphics.AttachControl(
      std::make_unique<GraphClickTarget>(kGraphAreaRect, kParamIrPageTarget, s.irDisplay));
}

}  // namespace qd3
