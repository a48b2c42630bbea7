// Undo of a voicing applied over a fully edited sound: from the key to the last message
// handed to the MIDI sink. The step writes the slot's old record back and sends every one
// of the 65 edited values again as a live edit.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>

#include "QD3Control.h"
#include "protocol/DeviceReplies.h"

namespace {

void BM_UndoTemplateOverEditedSound(benchmark::State& state) {
  qd3::QD3Control editor;
  size_t sent = 0;
  editor.SetDeviceMessageSink([&](std::span<const uint8_t>) { ++sent; });
  editor.session.connected = true;
  // The stored preset: every parameter at its lowest.
  std::array<uint8_t, 256> record{};
  record[0] = 1;
  std::fill(record.begin() + 2, record.begin() + 34, ' ');
  std::fill(record.begin() + 192, record.end(), ' ');
  const auto dump = qd3::BuildPresetDump(5, record);
  editor.HandleDeviceMessage(dump.data(), dump.size());
  // Unsaved edits to all 65, then the voicing over them.
  for (int i = 0; i < qd3::kNumSoundParams; ++i) editor.SetParameterValue(i, 1.0);
  editor.ApplyDriveTemplate(3);
  editor.DrainQueuedParamUpdates([](int, double) {});

  size_t perUndo = 0;
  for (auto _ : state) {
    sent = 0;
    editor.OnEditorKey(qd3::EditorKey::kUndo);
    perUndo = sent;
    state.PauseTiming();
    editor.OnEditorKey(qd3::EditorKey::kRedo);
    editor.DrainQueuedParamUpdates([](int, double) {});
    state.ResumeTiming();
  }
  state.counters["messages"] = static_cast<double>(perUndo);
  if (perUndo < 2) state.SkipWithError("the undo sent too little");
}
BENCHMARK(BM_UndoTemplateOverEditedSound)->Unit(benchmark::kMicrosecond);

}  // namespace
