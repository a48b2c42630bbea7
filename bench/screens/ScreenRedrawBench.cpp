// The real editor screen on an offscreen canvas: a full redraw at the three
// scales a player uses, one knob turn from the mouse event to painted pixels,
// and the first frame after building the screens.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "QD3Control.h"
#include "screens/BuildEditorScreen.h"
#include "toolkit/IGraphics.h"

namespace {

constexpr int kCanvasW = 1920;
constexpr int kCanvasH = 1200;
// The "Drive" knob of the pedal face, design units.
constexpr float kKnobX = 770.f;
constexpr float kKnobY = 189.f;

// A private, empty cache folder, removed at the end.
struct CacheFolder {
  CacheFolder() {
    std::string templ = (std::filesystem::temp_directory_path() / "qd3-bench-XXXXXX").string();
    if (mkdtemp(templ.data()) != nullptr) path = templ;
  }
  ~CacheFolder() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  CacheFolder(const CacheFolder&) = delete;
  CacheFolder& operator=(const CacheFolder&) = delete;
  std::filesystem::path path;
};

// The editor, connected to a pedal that takes every edit, with its screens built.
struct Screen {
  explicit Screen(float scale) : graphics(&editor, kCanvasW, kCanvasH, 60, scale) {
    editor.SetDeviceMessageSink([this](std::span<const uint8_t> m) { sentBytes += m.size(); });
    editor.OpenCache(folder.path);
    qd3::BuildEditorScreen(graphics, editor);
    graphics.DisableGroup("bcontrols", false);
    editor.session.connected = true;
    editor.session.applyingDeviceValues = false;
    graphics.OnFrame();
  }
  ~Screen() {
    editor.SetIrDisplaySink(nullptr);
    editor.AttachScreen(nullptr);
  }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  CacheFolder folder;
  qd3::QD3Control editor;
  qd3::IGraphics graphics;
  size_t sentBytes = 0;
};

void BM_FullRedraw(benchmark::State& state) {
  const float scale = static_cast<float>(state.range(0)) / 100.f;
  Screen s(scale);
  for (auto _ : state) {
    s.graphics.SetAllDirty();
    benchmark::DoNotOptimize(s.graphics.OnFrame());
  }
  state.counters["controls"] = s.graphics.Stats().controlsDrawnLastFrame;
  state.SetLabel("scale " + std::to_string(scale).substr(0, 4));
}
BENCHMARK(BM_FullRedraw)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// Press on the knob, one drag step of 2 window pixels (alternating up and down so
// the value stays inside its range), release, and the frame that paints it.
void BM_KnobTurnToPixels(benchmark::State& state) {
  const float scale = static_cast<float>(state.range(0)) / 100.f;
  Screen s(scale);
  const float x = kKnobX * scale;
  const float y = kKnobY * scale;
  qd3::IMouseMod held;
  held.L = true;
  float step = -2.f;
  uint64_t painted = 0;
  for (auto _ : state) {
    s.graphics.OnMouseDown(x, y, held);
    s.graphics.OnMouseMove(x, y + step, held);
    s.graphics.OnMouseUp(x, y + step, held);
    painted += s.graphics.OnFrame() ? 1 : 0;
    step = -step;
  }
  if (painted != static_cast<uint64_t>(state.iterations())) {
    state.SkipWithError("a knob turn painted nothing");
  }
  if (s.sentBytes == 0) state.SkipWithError("no live edit reached the pedal");
  state.SetLabel("scale " + std::to_string(scale).substr(0, 4));
}
BENCHMARK(BM_KnobTurnToPixels)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);

// The editor built from nothing: screens, styles, artwork and the first frame.
void BM_BuildAndFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    auto s = std::make_unique<Screen>(0.5f);
    benchmark::DoNotOptimize(s.get());
    state.PauseTiming();
    s.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BuildAndFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(5);

// Only the first frame after the build, which paints the whole canvas once.
void BM_FirstFrameOnly(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto folder = std::make_unique<CacheFolder>();
    auto editor = std::make_unique<qd3::QD3Control>();
    editor->OpenCache(folder->path);
    auto graphics = std::make_unique<qd3::IGraphics>(editor.get(), kCanvasW, kCanvasH, 60, 0.5f);
    qd3::BuildEditorScreen(*graphics, *editor);
    state.ResumeTiming();
    benchmark::DoNotOptimize(graphics->OnFrame());
    state.PauseTiming();
    editor->SetIrDisplaySink(nullptr);
    editor->AttachScreen(nullptr);
    graphics.reset();
    editor.reset();
    folder.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FirstFrameOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
