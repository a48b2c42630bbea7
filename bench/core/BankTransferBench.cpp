// Bank export, bank import, the factory write and a firmware stream against the simulated
// pedal at its default wire pacing (48,000 bytes per second, 2 ms latency), in real time,
// as in PresetSyncBench: the loop plays the audio pass (a drain every 1.45 ms), the
// 20 ms idle tick and the 100 ms device timer. The bank transfers run twice, argument 0 with the
// next message on each answer, argument 1 with one message per tick as before; each is reported
// against its floor: every byte's wire time plus one latency per request or acknowledgement (and
// for the import a tick for each IR chunk, which the pedal does not acknowledge). The wire
// time of what the editor sent is reported beside it (sent_wire_s).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <thread>

#include "QD3Control.h"
#include "host/MidiPorts.h"
#include "presets/BankFile.h"
#include "simulator/DefaultState.h"
#include "simulator/SimulatedMidiLink.h"
#include "tests/support/ScriptedPlatformServices.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
constexpr double kTickSeconds = 0.1;
constexpr double kWireBytesPerSecond = 48000.0;
constexpr double kLatencySeconds = 0.002;

class Settings : public qd3::IMidiPortSettings {
 public:
  std::string Name(qd3::MidiDirection) const override { return qd3::sim::kSimulatorPortName; }
  void SetName(qd3::MidiDirection, std::string) override {}
  void Save() override {}
};

// The default pedal (user IRs 0..3 and 130 in use) with five more presets using user IRs
// of their own: ten in all.
qd3::sim::PedalState PedalWithTenUserIrs() {
  qd3::sim::PedalState state = qd3::sim::DefaultPedalState();
  for (int slot : {10, 20, 30, 40, 50}) {
    qd3::sim::Record& r = state.presets[static_cast<size_t>(slot)];
    qd3::sim::RecordParam(r, qd3::sim::kParamIrModeA) = 1;
    qd3::sim::RecordParam(r, qd3::sim::kParamIrAHigh) = 0;
    qd3::sim::RecordParam(r, qd3::sim::kParamIrALow) = static_cast<uint8_t>(slot);
  }
  return state;
}

// An editor on the paced simulator, driven in real time.
struct Rig {
  explicit Rig(qd3::sim::PedalState state, std::filesystem::path base)
      : folder(std::move(base)),
        link(qd3::sim::LinkOptions{qd3::sim::DeliveryMode::kPaced, {}}, std::move(state)),
        ports(link, settings) {
    std::filesystem::remove_all(folder);
    ports.Start();
    editor.OpenCache(folder);
    editor.SetPlatformServices(&platform);
    editor.SetDeviceMessageSink([&](std::span<const uint8_t> m) {
      ++sent;
      sentBytes += m.size();
      ++sentByCommand[m.size() > 5 ? m[5] : 0];
      ports.SendDeviceMessage(m);
    });
  }
  ~Rig() {
    ports.SetExiting();
    ports.Shutdown();
    std::filesystem::remove_all(folder);
  }
  // Runs until `done` holds; the time it took, or a negative value after `limit`.
  double RunUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto start = Clock::now();
    auto nextTick = start;
    auto nextIdleTick = start;
    while (Clock::now() - start < limit) {
      ports.DrainMidiQueues([&](const uint8_t* b, size_t n) {
        receivedBytes += n;
        ++received;
        editor.HandleDeviceMessage(b, n);
      });
      if (done()) return std::chrono::duration<double>(Clock::now() - start).count();
      if (Clock::now() >= nextTick) {
        nextTick += 100ms;
        if (!editor.session.connected) editor.session.pollTicks = 32;  // no 3.3 s wait
        editor.OnDeviceTimer();
      }
      // The idle tick asks the questions that follow a safety backup.
      if (Clock::now() >= nextIdleTick) {
        nextIdleTick += 20ms;
        editor.OnIdleTick();
      }
      std::this_thread::sleep_for(1451us);
    }
    return -1.0;
  }

  std::filesystem::path folder;
  Settings settings;
  qd3::sim::SimulatedMidiLink link;
  qd3::MidiPorts ports;
  qd3::QD3Control editor;
  qd3::ScriptedPlatformServices platform;
  int sent = 0;
  int received = 0;
  std::size_t sentBytes = 0;
  std::size_t receivedBytes = 0;
  std::map<int, int> sentByCommand;
};

const std::filesystem::path kBase = std::filesystem::temp_directory_path() / "qd3-bank-bench";

// Connects, lets the handshake synchronise and settle; false when it never did.
bool Settle(Rig& rig) {
  if (rig.RunUntil([&] { return rig.editor.session.connected; }, 10s) < 0) return false;
  if (rig.RunUntil([&] { return !rig.editor.session.readAllActive; }, 30s) < 0) return false;
  const auto until = Clock::now() + 2s;
  rig.RunUntil([&] { return Clock::now() >= until; }, 5s);
  return true;
}

qd3::TransferPacing PacingOf(const benchmark::State& state) {
  return state.range(0) == 0 ? qd3::TransferPacing::kOnAnswer : qd3::TransferPacing::kOnTick;
}

// What crossed the wire between two points of a run.
struct Traffic {
  explicit Traffic(const Rig& rig)
      : sent(rig.sent), sentBytes(rig.sentBytes), receivedBytes(rig.receivedBytes) {}
  int sent;
  std::size_t sentBytes;
  std::size_t receivedBytes;
  // The wire time of every byte the pedal sent since `this`, plus one latency per answer
  // waited for. The simulator paces its answers only (what the editor sends reaches it at
  // once), so that is the floor any pacing can reach against it.
  double Floor(const Rig& rig, int answersWaitedFor) const {
    const double bytes = static_cast<double>(rig.receivedBytes - receivedBytes);
    return bytes / kWireBytesPerSecond + answersWaitedFor * kLatencySeconds;
  }
  // The wire time of what the editor sent: on a real link a further floor of its own.
  double SentWireSeconds(const Rig& rig) const {
    return static_cast<double>(rig.sentBytes - sentBytes) / kWireBytesPerSecond;
  }
};

// Exports the rig's pedal into `file`; seconds taken, or negative.
double Export(Rig& rig, const std::filesystem::path& file, int& messages) {
  rig.platform.QueueSaveFileResult(file.string());
  const int before = rig.sent;
  const auto byCommand = rig.sentByCommand;
  rig.editor.ExportBank();
  const double seconds = rig.RunUntil([&] { return !rig.editor.session.backupActive; }, 120s);
  messages = rig.sent - before;
  // Only the export's own requests count towards its floor.
  const auto during = [&](int command) {
    const auto was = byCommand.find(command);
    return rig.sentByCommand[command] - (was == byCommand.end() ? 0 : was->second);
  };
  messages = during(qd3::kCmdRequestPreset) + during(qd3::kCmdRequestIr);
  return std::filesystem::exists(file) ? seconds : -1.0;
}

void BM_BankExport(benchmark::State& state) {
  for (auto _ : state) {
    Rig rig(PedalWithTenUserIrs(), kBase / "export");
    rig.editor.SetBankTransferPacing(PacingOf(state));
    if (!Settle(rig)) return state.SkipWithError("no connection");
    int messages = 0;
    const Traffic from(rig);
    const double seconds = Export(rig, rig.folder / "bank.q3b", messages);
    if (seconds < 0) return state.SkipWithError("the export did not finish");
    const double floor = from.Floor(rig, messages);
    state.SetIterationTime(seconds);
    state.counters["requests"] = messages;
    state.counters["sent_wire_s"] = from.SentWireSeconds(rig);
    state.counters["floor_s"] = floor;
    state.counters["ratio_to_floor"] = seconds / floor;
  }
}

void BM_BankImport(benchmark::State& state) {
  for (auto _ : state) {
    std::filesystem::path bank = kBase / "import-source.q3b";
    {
      Rig source(PedalWithTenUserIrs(), kBase / "source");
      if (!Settle(source)) return state.SkipWithError("no connection");
      int messages = 0;
      std::filesystem::create_directories(kBase);
      if (Export(source, bank, messages) < 0) return state.SkipWithError("no bank");
    }
    qd3::sim::PedalState blank = qd3::sim::DefaultPedalState();
    for (auto& record : blank.presets) record = qd3::sim::DefaultPresetRecord(0);
    Rig rig(std::move(blank), kBase / "import");
    rig.editor.SetBankTransferPacing(PacingOf(state));
    if (!Settle(rig)) return state.SkipWithError("no connection");
    rig.platform.QueueMessageBoxResult(qd3::EMsgBoxResult::OK);
    rig.platform.QueueOpenFileResult(bank.string());
    // The safety backup of the blank pedal comes first, timed on its own.
    const Traffic beforeBackup(rig);
    const auto backupRequests = [&] {
      return rig.sentByCommand[qd3::kCmdRequestPreset] + rig.sentByCommand[qd3::kCmdRequestIr];
    };
    const int requestsBefore = backupRequests();
    rig.editor.ImportBank();
    const double backup = rig.RunUntil([&] { return rig.editor.session.restoreActive; }, 120s);
    if (backup < 0) return state.SkipWithError("the import did not start");
    const double backupFloor = beforeBackup.Floor(rig, backupRequests() - requestsBefore);
    const Traffic from(rig);
    const int chunksBefore = rig.sentByCommand[qd3::kCmdRestoreIrData];
    const double seconds = rig.RunUntil([&] { return !rig.editor.session.restoreActive; }, 120s);
    if (seconds < 0) return state.SkipWithError("the import did not finish");
    const int messages = rig.sent - from.sent;  // the bracket, every message, the end
    const int chunks = rig.sentByCommand[qd3::kCmdRestoreIrData] - chunksBefore;
    // The bracket's ends and the chunks are not acknowledged; the chunks keep a tick each.
    const double floor = from.Floor(rig, messages - 2 - chunks) + chunks * kTickSeconds;
    state.SetIterationTime(seconds);
    state.counters["messages"] = messages;
    state.counters["sent_wire_s"] = from.SentWireSeconds(rig);
    state.counters["floor_s"] = floor;
    state.counters["ratio_to_floor"] = seconds / floor;
    state.counters["backup_s"] = backup;
    state.counters["backup_ratio_to_floor"] = backup / backupFloor;
    std::filesystem::remove(bank);
  }
}

void BM_FactoryWrite(benchmark::State& state) {
  for (auto _ : state) {
    Rig rig(PedalWithTenUserIrs(), kBase / "factory");
    rig.editor.SetBankTransferPacing(PacingOf(state));
    if (!Settle(rig)) return state.SkipWithError("no connection");
    rig.platform.QueueMessageBoxResult(qd3::EMsgBoxResult::OK);  // after the safety backup
    rig.editor.UpdateFactoryPresets();
    if (rig.RunUntil([&] { return rig.editor.FactoryWriteRunning(); }, 120s) < 0) {
      return state.SkipWithError("the factory write did not start");
    }
    const Traffic from(rig);
    const double seconds = rig.RunUntil([&] { return !rig.editor.FactoryWriteRunning(); }, 120s);
    if (seconds < 0) return state.SkipWithError("the factory write did not finish");
    const int messages = rig.sent - from.sent;  // the bracket, 128 writes, the reset
    const double floor = from.Floor(rig, messages - 3);
    state.SetIterationTime(seconds);
    state.counters["messages"] = messages;
    state.counters["sent_wire_s"] = from.SentWireSeconds(rig);
    state.counters["floor_s"] = floor;
    state.counters["ratio_to_floor"] = seconds / floor;
  }
}

void BM_FirmwareStream57000(benchmark::State& state) {
  for (auto _ : state) {
    Rig rig(qd3::sim::DefaultPedalState(), kBase / "firmware");
    std::filesystem::create_directories(rig.folder);
    const auto image = rig.folder / "image.ldr";
    std::ofstream(image, std::ios::binary) << std::string(57000, '\x33');
    // Opened before a pedal answered: no safety backup, straight to the loader.
    rig.editor.OpenFirmwareUpdate();
    rig.platform.QueueOpenFileResult(image.string());
    rig.editor.StartFirmwareUpdate();
    if (rig.RunUntil([&] { return rig.editor.session.firmwareMode; }, 10s) < 0) {
      return state.SkipWithError("the loader did not answer");
    }
    const double seconds = rig.RunUntil([&] { return !rig.editor.session.firmwareMode; }, 60s);
    if (seconds < 0) return state.SkipWithError("the stream did not finish");
    const double floor = 272 * kTickSeconds;  // 65,143 groups in chunks of 240
    state.SetIterationTime(seconds);
    state.counters["floor_s"] = floor;
    state.counters["ratio_to_floor"] = seconds / floor;
  }
}

BENCHMARK(BM_BankExport)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_BankImport)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_FactoryWrite)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK(BM_FirmwareStream57000)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
