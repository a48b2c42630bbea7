#pragma once

// Picture controls placed by the layout's own frame sizes, so that a control keeps
// its place and its click area when its picture is missing (it then draws nothing).

#include <string>
#include <string_view>

#include "toolkit/IGraphics.h"
#include "toolkit/controls/IBButtonControl.h"
#include "toolkit/controls/IBKnobRotaterControl.h"
#include "toolkit/controls/IBitmapControl.h"

namespace qd3 {

// One frame of a picture in design units.
struct FrameSize {
  float w = 0.f;
  float h = 0.f;
};

// A picture with its top-left corner at (x, y).
IBitmapControl* AttachPicture(IGraphics& g, const std::string& file, float x, float y,
                              FrameSize frame, int tag, std::string_view group);

// A two-frame picture button with its top-left corner at (x, y). A loaded picture's
// own frame size wins over `fallback` (the voicing buttons differ in width).
IBButtonControl* AttachPictureButton(IGraphics& g, const std::string& file, float x, float y,
                                     FrameSize fallback, IActionFunction action, int tag,
                                     std::string_view group);

// A knob turning one picture, centred on (cx, cy), bound to `param`.
IBKnobRotaterControl* AttachRotaterKnob(IGraphics& g, const std::string& file, float cx, float cy,
                                        FrameSize frame, int param, std::string_view group);

}  // namespace qd3
