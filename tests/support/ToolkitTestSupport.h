#pragma once

#include <cairo.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/IGraphics.h"
#include "toolkit/OffscreenBackend.h"
#include "toolkit/api/IEditorDelegate.h"

namespace qd3::test {

// The editor's parameters as a test needs them: plain normalized values, a log
// of what the UI set, value texts for enumerated ones and a queue of values set
// "by code".
class FakeDelegate : public IEditorDelegate {
 public:
  explicit FakeDelegate(int n = 16)
      : values(static_cast<size_t>(n), 0.0),
        texts(static_cast<size_t>(n)),
        names(static_cast<size_t>(n)),
        defaults(static_cast<size_t>(n), 0.0),
        steps(static_cast<size_t>(n), 0.0) {}

  int NParams() const override { return static_cast<int>(values.size()); }
  double GetParamNormalized(int index) const override {
    return values.at(static_cast<size_t>(index));
  }
  void SetParameterValueFromUI(int index, double normalized) override;
  std::string GetParamDisplayText(int index, double normalized) const override;
  std::vector<std::string> GetParamValueTexts(int index) const override {
    return texts.at(static_cast<size_t>(index));
  }
  std::string GetParamName(int index) const override {
    return names.at(static_cast<size_t>(index));
  }
  double GetParamDefaultNormalized(int index) const override {
    return defaults.at(static_cast<size_t>(index));
  }
  double GetParamStepNormalized(int index) const override {
    return steps.at(static_cast<size_t>(index));
  }
  void DrainQueuedParamUpdates(const std::function<void(int, double)>& apply) override;
  void BeginParamGesture(int index, bool wheel) override {
    gestures.push_back((wheel ? "wheel " : "press ") + std::to_string(index));
  }
  void EndParamGesture() override { gestures.emplace_back("end"); }

  // A value set by code: stored, and queued for the controls.
  void SetFromCode(int index, double normalized);
  void SetValueTexts(int index, std::vector<std::string> t) {
    texts.at(static_cast<size_t>(index)) = std::move(t);
  }

  std::vector<double> values;
  std::vector<std::vector<std::string>> texts;
  std::vector<std::string> names;
  std::vector<double> defaults;
  std::vector<double> steps;                   // 0: continuous
  std::vector<std::pair<int, double>> fromUI;  // every SetParameterValueFromUI, unclamped
  // Each gesture's begin ("press 9", "wheel 9") and "end", and "set" for each UI set.
  std::vector<std::string> gestures;
  std::vector<std::pair<int, double>> queued;
};

// PNG bytes painted by `paint` on a w x h ARGB surface.
std::vector<unsigned char> MakePNG(int w, int h, const std::function<void(cairo_t*)>& paint);
// Registers bytes as an embedded resource; the bytes are kept for the program's life.
void RegisterTestResource(const std::string& name, std::vector<unsigned char> bytes, int id = -1);
// A picture of `frames` frames of w x h, frame k filled with colors[k].
void RegisterFramesBitmap(const std::string& name, int w, int h, const std::vector<IColor>& colors);

// Channels within 3 levels, or within `tolerance`.
bool Near(const IColor& a, const IColor& b);
bool NearTol(const IColor& a, const IColor& b, int tolerance);
std::string Describe(const IColor& c);

// A canvas with a fake editor and an offscreen host.
struct Canvas {
  explicit Canvas(float scale = 1.f, int w = 1920, int h = 1200)
      : delegate(128), graphics(&delegate, w, h, 60, scale), host(graphics) {}
  FakeDelegate delegate;
  IGraphics graphics;
  OffscreenBackend host;

  // Paints once and returns the pixel under a design point.
  IColor Probe(float x, float y) {
    host.Frame();
    return host.ProbeDesign(x, y);
  }
  // Window pixels of a design point.
  float WX(float x) const { return x * graphics.GetDrawScale(); }
  float WY(float y) const { return y * graphics.GetDrawScale(); }
};

// Where test images go: $QD3_TEST_OUTPUT or the working directory.
std::string OutputPath(const std::string& file);

}  // namespace qd3::test

#include <ostream>

namespace qd3 {
inline void PrintTo(const IColor& c, std::ostream* os) {
  *os << test::Describe(c);
}
}  // namespace qd3
