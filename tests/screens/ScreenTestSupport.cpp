#include "tests/screens/ScreenTestSupport.h"

#include "screens/BuildEditorScreen.h"

namespace qd3::test {

BuiltScreen::BuiltScreen(float scale) : graphics(&editor, 1920, 1200, 60, scale), host(graphics) {
  editor.SetDeviceMessageSink(sent.Sink());
  editor.OpenCache(folder.Path());
  BuildEditorScreen(graphics, editor);
  host.Frame();
}

BuiltScreen::~BuiltScreen() {
  editor.SetIrDisplaySink(nullptr);
  editor.AttachScreen(nullptr);
}

IColor BuiltScreen::Probe(float x, float y) {
  host.Frame();
  return host.ProbeDesign(x, y);
}

int BuiltScreen::CountPixels(const IRECT& r, const std::function<bool(const IColor&)>& test,
                             float step) {
  host.Frame();
  int n = 0;
  for (float y = r.T; y < r.B; y += step) {
    for (float x = r.L; x < r.R; x += step) {
      if (test(host.ProbeDesign(x, y))) ++n;
    }
  }
  return n;
}

IControl& BuiltScreen::Tagged(int tag) {
  IControl* c = graphics.GetControlWithTag(tag);
  if (!c) ADD_FAILURE() << "no control with tag " << tag;
  return *c;
}

}  // namespace qd3::test
