#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "QD3Control.h"
#include "tests/support/CapturedMessages.h"
#include "tests/support/TempFolder.h"
#include "toolkit/IGraphics.h"
#include "toolkit/OffscreenBackend.h"

namespace qd3::test {

// The editor with an empty disk cache and its screens built into an offscreen
// canvas at `scale`; the editor's outgoing messages are captured.
struct BuiltScreen {
  explicit BuiltScreen(float scale = 1.f);
  ~BuiltScreen();
  BuiltScreen(const BuiltScreen&) = delete;
  BuiltScreen& operator=(const BuiltScreen&) = delete;

  // Paints what changed and returns the pixel under a design point.
  IColor Probe(float x, float y);
  // Pixels of a design rectangle (probed on a grid of `step` units) that pass `test`.
  int CountPixels(const IRECT& r, const std::function<bool(const IColor&)>& test, float step = 1.f);
  IControl& Tagged(int tag);

  TempFolder folder;
  CapturedMessages sent;
  QD3Control editor;
  IGraphics graphics;
  OffscreenBackend host;
};

// Brightness as the sum of the three channels.
inline int Brightness(const IColor& c) {
  return c.R + c.G + c.B;
}

}  // namespace qd3::test
