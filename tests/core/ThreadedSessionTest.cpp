// The pedal answers from its own thread in real time, as a real one does on
// RtMidi's thread; the test thread plays the audio pass and the timers. Run under
// ThreadSanitizer too.
#include <thread>

#include "tests/support/CoreHarness.h"

namespace qd3::test {
namespace {

TEST(ThreadedSession, ConnectsAndMirrorsAllPresetsWithThePedalOnItsOwnThread) {
  TempFolder folder;
  MemoryPortSettings settings;
  sim::SimulatedMidiLink link(sim::LinkOptions{sim::DeliveryMode::kPaced, {}});
  MidiPorts ports(link, settings);
  ports.Start();
  QD3Control editor;
  editor.OpenCache(folder.Path());
  editor.SetDeviceMessageSink([&](std::span<const uint8_t> m) { ports.SendDeviceMessage(m); });

  // Ticks come every 1 ms instead of 100 ms so the test takes seconds, not minutes;
  // the drain runs as often, which is what the audio pass does at small buffers.
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  bool settled = false;
  int quietTicks = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    ports.DrainMidiQueues([&](const uint8_t* b, size_t n) { editor.HandleDeviceMessage(b, n); });
    editor.OnDeviceTimer();
    if (editor.session.connected && !editor.session.readAllActive &&
        editor.checksums.PendingCount() == 0) {
      if (++quietTicks > 200) {
        settled = true;
        break;
      }
    } else {
      quietTicks = 0;
    }
    std::this_thread::sleep_for(1ms);
  }
  ports.SetExiting();
  ports.Shutdown();
  ASSERT_TRUE(settled);
  for (int slot = 0; slot < kPresetCount; ++slot) {
    EXPECT_TRUE(editor.Cache()->ReadPreset(slot).has_value()) << slot;
  }
  EXPECT_FALSE(editor.session.applyingDeviceValues);
}

}  // namespace
}  // namespace qd3::test
