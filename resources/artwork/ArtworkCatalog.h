#pragma once

// The editor's pictures, drawn by code at build time: one entry per file with its
// exact pixel size. Each picture is also written at double resolution under
// "<name>@2x.png" (the name the toolkit's bitmap loader looks for), drawn from the
// same code at twice the scale.
#include <cairo.h>

#include <span>
#include <string>
#include <vector>

namespace qd3::art {

struct Picture;
using DrawFrame = void (*)(cairo_t* cr, const Picture& picture, int frame);

struct Picture {
  const char* name;   // file name, also the embedded resource name
  int width;          // pixels of the normal file (= design units)
  int height;         // pixels of the whole normal file, all frames stacked
  int frames;         // 1, or 2: off in the upper half, on in the lower half
  DrawFrame draw;     // draws one frame at the origin in design units
  const char* label;  // the text of a voicing button, nullptr for other pictures

  // Height of one frame in design units; 35.5 for the voicing buttons, whose
  // two frames share a 71-pixel file.
  double FrameHeight() const { return static_cast<double>(height) / frames; }
};

// Every picture of the editor, in a fixed order.
std::span<const Picture> Pictures();
const Picture* FindPicture(const std::string& name);

// "knob.png" -> "knob@2x.png"
std::string DoubleName(const std::string& name);

// The picture as PNG file bytes at `scale` pixels per design unit (1 or 2).
// Deterministic: the same bytes on every run.
std::vector<unsigned char> RenderPng(const Picture& picture, int scale);

// The IR gain knob "vector-knob.svg" (30 x 30 px): body, rim and pointer.
std::string VectorKnobSvg();

// The desktop icon: scalable "qd3control.svg" and a square PNG of `pixels`.
std::string AppIconSvg();
std::vector<unsigned char> AppIconPng(int pixels);

}  // namespace qd3::art
