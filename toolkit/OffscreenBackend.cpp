#include "toolkit/OffscreenBackend.h"

#include <cmath>

namespace qd3 {

OffscreenBackend::OffscreenBackend(IGraphics& g) : mGraphics(g) {
  mGraphics.SetClock([this] { return mNow; });
}

OffscreenBackend::~OffscreenBackend() {
  mGraphics.SetClock([] { return 0.0; });
}

bool OffscreenBackend::Frame() {
  return mGraphics.OnFrame();
}

int OffscreenBackend::Advance(double seconds) {
  const double frame = 1.0 / mGraphics.FPS();
  const double end = mNow + seconds;
  int painted = 0;
  while (mNow + frame <= end + 1e-9) {
    mNow += frame;
    if (mGraphics.OnFrame()) ++painted;
  }
  mNow = end;
  return painted;
}

void OffscreenBackend::MouseDown(float wx, float wy, const IMouseMod& mod) {
  IMouseMod m = mod;
  m.L = true;
  mGraphics.OnMouseDown(wx, wy, m);
}

void OffscreenBackend::MouseUp(float wx, float wy, const IMouseMod& mod) {
  IMouseMod m = mod;
  m.L = true;
  mGraphics.OnMouseUp(wx, wy, m);
}

void OffscreenBackend::MouseMove(float wx, float wy, const IMouseMod& mod) {
  mGraphics.OnMouseMove(wx, wy, mod);
}

void OffscreenBackend::Click(float wx, float wy, const IMouseMod& mod) {
  MouseDown(wx, wy, mod);
  MouseUp(wx, wy, mod);
}

void OffscreenBackend::DoubleClick(float wx, float wy, const IMouseMod& mod) {
  Click(wx, wy, mod);
  MouseDown(wx, wy, mod);
  IMouseMod m = mod;
  m.L = true;
  mGraphics.OnMouseDblClick(wx, wy, m);
  MouseUp(wx, wy, mod);
}

void OffscreenBackend::Wheel(float wx, float wy, float delta, const IMouseMod& mod) {
  mGraphics.OnMouseWheel(wx, wy, mod, delta);
}

void OffscreenBackend::Drag(float fromX, float fromY, float toX, float toY, int steps,
                            const IMouseMod& mod) {
  MouseDown(fromX, fromY, mod);
  IMouseMod m = mod;
  m.L = true;
  for (int i = 1; i <= steps; ++i) {
    const float t = static_cast<float>(i) / static_cast<float>(steps);
    mGraphics.OnMouseMove(fromX + (toX - fromX) * t, fromY + (toY - fromY) * t, m);
  }
  MouseUp(toX, toY, mod);
}

IColor OffscreenBackend::ProbeDesign(float x, float y) const {
  const float s = mGraphics.GetDrawScale();
  return mGraphics.GetPixel(static_cast<int>(std::floor(x * s)),
                            static_cast<int>(std::floor(y * s)));
}

}  // namespace qd3
