// Redraw costs of a canvas like the editor's main screen, and the frequency
// analysis. Run: toolkit_bench (a Release build).
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <deque>
#include <memory>
#include <numbers>
#include <vector>

#include "toolkit/IGraphics.h"
#include "toolkit/api/EmbeddedResources.h"
#include "toolkit/controls/IBKnobRotaterControl.h"
#include "toolkit/controls/IBitmapControl.h"
#include "toolkit/controls/ITextControl.h"
#include "toolkit/graphs/IDynamicsResponseGraph.h"
#include "toolkit/graphs/IFreqResponseGraph.h"

namespace qd3 {
namespace {

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<unsigned char>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

void RegisterPicture(const char* name, int w, int h, bool knob) {
  static std::deque<std::vector<unsigned char>> keep;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(s);
  if (knob) {
    cairo_arc(cr, w / 2.0, h / 2.0, w / 2.0 - 1, 0, 2 * std::numbers::pi);
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
    cairo_fill(cr);
    cairo_rectangle(cr, w / 2.0 - 3, 4, 6, h / 2.0 - 4);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
  } else {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, h);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.1, 0.1, 0.15);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.4, 0.3, 0.3);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
  }
  cairo_destroy(cr);
  keep.emplace_back();
  cairo_surface_write_to_png_stream(s, Append, &keep.back());
  cairo_surface_destroy(s);
  RegisterEmbeddedResource(name, -1, {keep.back().data(), keep.back().size()});
}

std::vector<double> Samples() {
  std::vector<double> x(4096);
  for (size_t n = 0; n < x.size(); ++n) {
    x[n] = std::exp(-double(n) / 80.0) * std::sin(0.3 * double(n)) + (n == 0 ? 1.0 : 0.0);
  }
  return x;
}

// The main screen's load: background, 20 rotated knobs, 150 texts, both graphs.
struct Screen {
  explicit Screen(float scale) : graphics(nullptr, 1920, 1200, 60, scale) {
    static bool registered = false;
    if (!registered) {
      RegisterPicture("bench-background.png", 1920, 1200, false);
      RegisterPicture("bench-knob.png", 102, 102, true);
      registered = true;
    }
    graphics.LoadFont("Roboto-Regular", "Roboto-Regular.ttf");
    graphics.AttachControl(
        std::make_unique<IBitmapControl>(0, 0, graphics.LoadBitmap("bench-background.png")));
    IBitmap knob = graphics.LoadBitmap("bench-knob.png");
    for (int i = 0; i < 20; ++i) {
      auto* k = graphics.AttachControl(std::make_unique<IBKnobRotaterControl>(
          700.f + 140.f * (i % 10), 190.f + 160.f * (i / 10), knob, kNoParameter));
      k->SetValue(i / 20.0);
      knobs.push_back(k);
    }
    const IText text(27, IColor{150, 100, 255, 255}, "Roboto-Regular", EAlign::Near);
    for (int i = 0; i < 150; ++i) {
      graphics.AttachControl(std::make_unique<ITextControl>(
          IRECT::MakeXYWH(1.f + 330.f * (i / 19), 228.f + 50.f * (i % 19), 260, 48),
          "Preset name " + std::to_string(i), text, IColor{255, 38, 38, 38}));
    }
    auto* freq = graphics.AttachControl(std::make_unique<IFreqResponseGraph>(
        IRECT(1200, 685, 1872, 1135), IColor{255, 100, 255, 255}));
    freq->SetRange(20, 20480, 100, 30);
    freq->SetSmoothingOff(1);
    freq->SetTimeData(Samples());
    auto* dyn = graphics.AttachControl(std::make_unique<IDynamicsResponseGraph>(
        IRECT(1200, 700, 1865, 1130), IColor{255, 100, 255, 255}));
    dyn->SetGateThreshold(-60);
    dyn->SetCompThreshold(-51);
    graphics.OnFrame();
  }
  IGraphics graphics;
  std::vector<IControl*> knobs;
};

void BM_FullRedraw(benchmark::State& state) {
  Screen screen(static_cast<float>(state.range(0)) / 100.f);
  for (auto _ : state) {
    screen.graphics.SetAllDirty();
    benchmark::DoNotOptimize(screen.graphics.OnFrame());
  }
  state.SetLabel("scale " + std::to_string(state.range(0) / 100.0).substr(0, 4));
}
BENCHMARK(BM_FullRedraw)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_SingleKnobRedraw(benchmark::State& state) {
  Screen screen(static_cast<float>(state.range(0)) / 100.f);
  double v = 0.0;
  for (auto _ : state) {
    v = v > 0.9 ? 0.0 : v + 0.01;
    screen.knobs[3]->SetValue(v);
    benchmark::DoNotOptimize(screen.graphics.OnFrame());
  }
  state.counters["controlsDrawn"] = screen.graphics.Stats().controlsDrawnLastFrame;
}
BENCHMARK(BM_SingleKnobRedraw)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_IdleFrame(benchmark::State& state) {
  Screen screen(0.5f);
  const uint64_t before = screen.graphics.Stats().framesDrawn;
  for (auto _ : state) benchmark::DoNotOptimize(screen.graphics.OnFrame());
  state.counters["framesPainted"] =
      static_cast<double>(screen.graphics.Stats().framesDrawn - before);
}
BENCHMARK(BM_IdleFrame)->Unit(benchmark::kMicrosecond);

void BM_SetTimeData4096(benchmark::State& state) {
  IFreqResponseGraph graph(IRECT(1200, 685, 1872, 1135), IColor{255, 100, 255, 255});
  graph.SetRange(20, 20480, 100, 30);
  const std::vector<double> x = Samples();
  for (auto _ : state) {
    graph.SetTimeData(x);
    benchmark::DoNotOptimize(graph.Curve().data());
  }
}
BENCHMARK(BM_SetTimeData4096)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qd3
