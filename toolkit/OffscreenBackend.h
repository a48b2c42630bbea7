#pragma once

#include <string>

#include "toolkit/Events.h"
#include "toolkit/IGraphics.h"

namespace qd3 {

// A host without a window: it drives an IGraphics with a clock of its own, so
// that frames and animations advance only when asked, feeds it input, and reads
// the painted image (pixel probes, PNG files). Used by tests and screenshots.
class OffscreenBackend {
 public:
  explicit OffscreenBackend(IGraphics& graphics);
  ~OffscreenBackend();
  OffscreenBackend(const OffscreenBackend&) = delete;
  OffscreenBackend& operator=(const OffscreenBackend&) = delete;

  double Now() const { return mNow; }
  // One tick of the frame clock at the current time; whether anything was painted.
  bool Frame();
  // Moves the clock on by `seconds` in steps of one frame, ticking at each step;
  // returns how many ticks painted something.
  int Advance(double seconds);

  // Input in window pixels, as a window system delivers it.
  void MouseDown(float wx, float wy, const IMouseMod& mod = {});
  void MouseUp(float wx, float wy, const IMouseMod& mod = {});
  void MouseMove(float wx, float wy, const IMouseMod& mod = {});
  void Click(float wx, float wy, const IMouseMod& mod = {});
  // A double click as a window system delivers it: press, release, press, the
  // double-click event, release.
  void DoubleClick(float wx, float wy, const IMouseMod& mod = {});
  // Wheel notches (positive: away from the player, upwards).
  void Wheel(float wx, float wy, float delta, const IMouseMod& mod = {});
  // A drag from one point to another in `steps` moves, with press and release.
  void Drag(float fromX, float fromY, float toX, float toY, int steps = 4,
            const IMouseMod& mod = {});

  // The pixel under a design point at the current scale.
  IColor ProbeDesign(float x, float y) const;
  bool SavePNG(const std::string& path) const { return mGraphics.WritePNG(path); }

 private:
  IGraphics& mGraphics;
  double mNow = 1000.0;
};

}  // namespace qd3
