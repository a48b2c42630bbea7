#pragma once

// The window's scale against the screen it opens on: a scale kept from a larger monitor
// (or chosen by hand) must not open a window taller than the desktop's work area.

namespace qd3 {

struct WindowFitInput {
  double wanted;    // the scale the settings hold
  int canvasWidth;  // the canvas in design units
  int canvasHeight;
  int workWidth;  // the monitor's work area (without panels and docks), in pixels
  int workHeight;
  int chrome;      // pixels the window adds above and beside its canvas (menu, title)
  double minimum;  // the smallest scale the editor offers
};

// `wanted` when the window fits; otherwise the largest scale, in hundredths, at which it
// fits, but never below `minimum`. A work area that is not known (0 or less) changes
// nothing.
double ScaleThatFits(const WindowFitInput& in);

}  // namespace qd3
