// One live edit: from the parameter set to the bytes handed to the MIDI sink.
#include <benchmark/benchmark.h>

#include "QD3Control.h"

namespace {

void BM_LiveEdit(benchmark::State& state) {
  qd3::QD3Control editor;
  size_t sentBytes = 0;
  editor.SetDeviceMessageSink([&](std::span<const uint8_t> m) { sentBytes += m.size(); });
  editor.session.connected = true;
  editor.session.applyingDeviceValues = false;
  int value = 0;
  for (auto _ : state) {
    value = (value + 1) & 0x7F;  // a new raw value every time, so every edit is sent
    editor.SetParameterValueFromUI(qd3::kParamGain, value / 127.0);
    // The control queue would be drained by the UI each frame.
    if ((value & 0x3F) == 0) editor.DrainQueuedParamUpdates([](int, double) {});
  }
  benchmark::DoNotOptimize(sentBytes);
  if (sentBytes != static_cast<size_t>(state.iterations()) * 10)
    state.SkipWithError("an edit was not sent");
}
BENCHMARK(BM_LiveEdit);

}  // namespace
