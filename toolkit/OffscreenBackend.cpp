#include "OffscreenBackend.h"

#include <cmath>

namespace qd3 {

OffscreenBackend::OffscreenBackend(IGraphics& g) : graphics(g) {
  graphics.SetClock([this] { return now; });
}

OffscreenBackend::~OffscreenBackend() {
  graphics.SetClock([] { return 0.0; });
}

bool OffscreenBackend::Frame() {
  return graphics.OnFrame();
}

int OffscreenBackend::Advance(double seconds) {
  const double frame = 1.0 / graphics.FPS();
  const double end = now + seconds;
  int painted = 0;
  while (now + frame <= end + 1e-9) {
    now += frame;
    if (graphics.OnFrame()) ++painted;
  }
  now = end;
  return painted;
}

void OffscreenBackend::MouseDown(float wx, float wy, const IMouseMod& mod) {
  IMouseMod m = mod;
  m.L = true;
  graphics.OnMouseDown(wx, wy, m);
}

void OffscreenBackend::MouseUp(float wx, float wy, const IMouseMod& mod) {
  IMouseMod m = mod;
  m.L = true;
  graphics.OnMouseUp(wx, wy, m);
}

void OffscreenBackend::MouseMove(float wx, float wy, const IMouseMod& mod) {
  graphics.OnMouseMove(wx, wy, mod);
}

void OffscreenBackend::Click(float wx, float wy, const IMouseMod& mod) {
  MouseDown(wx, wy, mod);
  MouseUp(wx, wy, mod);
}

void OffscreenBackend::Drag(float fromX, float fromY, float toX, float toY, int steps,
                            const IMouseMod& mod) {
  MouseDown(fromX, fromY, mod);
  IMouseMod m = mod;
  m.L = true;
  for (int i = 1; i <= steps; ++i) {
    const float t = static_cast<float>(i) / static_cast<float>(steps);
    graphics.OnMouseMove(fromX + (toX - fromX) * t, fromY + (toY - fromY) * t, m);
  }
  MouseUp(toX, toY, mod);
}

IColor OffscreenBackend::ProbeDesign(float x, float y) const {
  const float s = graphics.GetDrawScale();
  return graphics.GetPixel(static_cast<int>(std::floor(x * s)),
                           static_cast<int>(std::floor(y * s)));
}

}  // namespace qd3
