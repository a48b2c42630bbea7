// A pedal that sends each answer at once (qd3-sim --burst, its own process on a private
// JACK server) against the editor and qd3ctl over real ports: the current preset's user
// IR is fetched and cached byte for byte, a bank export with 10 user IRs equals the
// pedal's dumps and IR transfers, and qd3ctl backs the pedal up and restores the file to
// a blank pedal.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "QD3Control.h"
#include "QD3ControlScreenNames.h"
#include "host/MidiPorts.h"
#include "host/RtMidiTransport.h"
#include "simulator/PedalModel.h"
#include "simulator/StateFile.h"
#include "tests/simulator/system/ChildProcess.h"
#include "tests/simulator/system/JackServer.h"
#include "tests/support/CoreHarness.h"
#include "tests/support/ReferenceExport.h"
#include "tests/support/ScriptedPlatformServices.h"
#include "tests/support/TempFolder.h"

namespace qd3::test {
namespace {

using sim::test::ChildProcess;
using sim::test::JackServer;
using sim::test::ReadTextFile;
using Clock = std::chrono::steady_clock;

constexpr unsigned kJackDriver = 1;
constexpr int kUserIrsInUse = 10;
constexpr auto kPortTimeout = 20s;
constexpr auto kTransferTimeout = 90s;

std::string PedalOut(const std::string& client) {
  return client + " Out:MIDI Out";
}
std::string PedalIn(const std::string& client) {
  return client + " In:MIDI In";
}

int UserIrOf(int k) {
  return 5 + 13 * k;
}

// Ten presets, each using its own user IR in position 7; the current preset is the first.
sim::PedalState PedalUsingTenUserIrs() {
  sim::PedalState state = sim::DefaultPedalState();
  for (sim::Record& record : state.presets) {
    sim::RecordParam(record, sim::kParamIrModeA) = 0;
    sim::RecordParam(record, sim::kParamIrModeB) = 0;
  }
  for (int k = 0; k < kUserIrsInUse; ++k) {
    sim::Record& record = state.presets[static_cast<std::size_t>(k * 12)];
    const int n = UserIrOf(k);
    sim::RecordParam(record, sim::kParamIrModeA) = 1;
    sim::RecordParam(record, sim::kParamIrAHigh) = static_cast<uint8_t>(n >> 7);
    sim::RecordParam(record, sim::kParamIrALow) = static_cast<uint8_t>(n & 0x7F);
    state.userIrs[static_cast<std::size_t>(n)] =
        sim::MakeSyntheticIr("BURST " + std::to_string(k), 1000 + static_cast<uint32_t>(k));
  }
  state.currentPreset = 0;
  state.editBuffer = state.presets[0];
  return state;
}

// A blank pedal for the restore: every slot and user IR different from the source.
sim::PedalState BlankPedal() {
  sim::PedalState state = sim::DefaultPedalState();
  for (sim::Record& record : state.presets) {
    record.fill(0);
    record[0] = 1;
    for (std::size_t i = 2; i < 34; ++i) record[i] = ' ';
  }
  for (auto& ir : state.userIrs) ir = sim::EmptyIrImage();
  return state;
}

class BurstPedalSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mServer.Running()) << mServer.Error();
    // qd3ctl's safety backup goes under the data folder: ours, not the user's.
    setenv("XDG_DATA_HOME", (mFolder.Path() / "data").c_str(), 1);
  }

  // qd3-sim with `state` under `client`, every answer in one burst; saves on SIGTERM.
  std::optional<ChildProcess> StartPedal(const std::string& client, const sim::PedalState& state,
                                         const std::filesystem::path& statePath) {
    EXPECT_EQ(sim::SaveStateFile(state, statePath), sim::StateFileStatus::kOk);
    std::string error;
    auto pedal = ChildProcess::Start({QD3_SIM_PATH, "--api", "jack", "--client", client, "--burst",
                                      "--state", statePath.string()},
                                     LogPath(client), true, error);
    EXPECT_TRUE(pedal) << error;
    return pedal;
  }

  // Runs qd3ctl with `args` once the pedal's ports are there (it refuses a port it does
  // not list); its exit code (nullopt when it hung), its output in `log`.
  std::optional<int> RunQd3ctl(std::vector<std::string> args, std::string& log) {
    std::optional<int> code;
    for (const auto deadline = Clock::now() + kPortTimeout; Clock::now() < deadline;) {
      code = RunQd3ctlOnce(args, log);
      if (log.find("No MIDI") == std::string::npos) break;
      std::this_thread::sleep_for(200ms);
    }
    return code;
  }
  std::optional<int> RunQd3ctlOnce(std::vector<std::string> args, std::string& log) {
    args.insert(args.begin(), QD3CTL_PATH);
    const std::string logPath =
        (mFolder.Path() / ("qd3ctl-" + std::to_string(++mRuns) + ".log")).string();
    std::string error;
    auto run = ChildProcess::Start(args, logPath, false, error);
    if (!run) {
      log = error;
      return std::nullopt;
    }
    const auto code = run->Wait(kTransferTimeout);
    log = ReadTextFile(logPath);
    return code;
  }

  std::string LogPath(const std::string& client) const {
    return (mFolder.Path() / (client + ".log")).string();
  }

  JackServer mServer;
  TempFolder mFolder;
  int mRuns = 0;
};

// Waits until both of the pedal's ports are listed by `transport`.
bool WaitForPorts(IMidiTransport& transport, const std::string& client) {
  const auto listed = [&](MidiDirection direction, const std::string& name) {
    const auto names = transport.PortNames(direction);
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  const auto deadline = Clock::now() + kPortTimeout;
  while (Clock::now() < deadline) {
    if (listed(MidiDirection::kInput, PedalOut(client)) &&
        listed(MidiDirection::kOutput, PedalIn(client))) {
      return true;
    }
    std::this_thread::sleep_for(50ms);
  }
  return false;
}

TEST_F(BurstPedalSystemTest, TheEditorFetchesTheCurrentIrAndExportsABankWithTenUserIrs) {
  const sim::PedalState state = PedalUsingTenUserIrs();
  auto pedal = StartPedal("Burst Pedal", state, mFolder.Path() / "pedal.state");
  ASSERT_TRUE(pedal);

  RtMidiTransport transport(kJackDriver);
  ASSERT_TRUE(WaitForPorts(transport, "Burst Pedal")) << ReadTextFile(LogPath("Burst Pedal"));
  MemoryPortSettings settings;
  settings.input = PedalOut("Burst Pedal");
  settings.output = PedalIn("Burst Pedal");
  MidiPorts ports(transport, settings);
  ports.Start();

  QD3Control editor;
  ScriptedPlatformServices platform;
  editor.SetPlatformServices(&platform);
  editor.OpenCache(mFolder.Path() / "editor");
  editor.SetDeviceMessageSink([&](std::span<const uint8_t> m) { ports.SendDeviceMessage(m); });

  // The program's loop: the input drained every millisecond, the idle tick every 20 ms
  // and the device timer every 100 ms.
  const auto runUntil = [&](const std::function<bool()>& done) {
    const auto deadline = Clock::now() + kTransferTimeout;
    auto nextTick = Clock::now();
    auto nextIdle = Clock::now();
    while (!done() && Clock::now() < deadline) {
      ports.DrainMidiQueues(
          [&](const uint8_t* bytes, size_t size) { editor.HandleDeviceMessage(bytes, size); });
      editor.NoteDroppedInput(ports.Queues().DroppedSysexCount());
      if (Clock::now() >= nextTick) {
        nextTick += 100ms;
        editor.OnDeviceTimer();
      }
      if (Clock::now() >= nextIdle) {
        nextIdle += 20ms;
        editor.OnIdleTick();
      }
      std::this_thread::sleep_for(1ms);
    }
    return done();
  };

  const int current = UserIrOf(0);
  ASSERT_TRUE(runUntil([&] {
    return editor.session.connected && !editor.session.readAllActive &&
           editor.Cache()->IsIrCached(current);
  })) << "boxes: "
      << editor.session.pendingMessage << "\n"
      << ReadTextFile(LogPath("Burst Pedal"));
  const auto cached = editor.Cache()->ReadIrImage(current);
  ASSERT_TRUE(cached);
  const auto& onPedal = state.userIrs[static_cast<std::size_t>(current)];
  EXPECT_TRUE(std::equal(onPedal.begin(), onPedal.end(), cached->begin()));

  const auto bank = mFolder.Path() / "bank.q3b";
  platform.QueueSaveFileResult(bank.string());
  editor.OnMenuCommand(kEditorCmdBankExport);
  ASSERT_TRUE(runUntil([&] { return !editor.session.backupActive; }));
  sim::PedalModel same(state);
  EXPECT_EQ(ReadBytes(bank), ReferenceExport(same).file) << editor.session.pendingMessage;
  EXPECT_EQ(ports.Queues().DroppedSysexCount(), 0u);

  editor.SetDeviceMessageSink(nullptr);
  EXPECT_EQ(pedal->Stop(SIGTERM, 10s), 0) << ReadTextFile(LogPath("Burst Pedal"));
}

TEST_F(BurstPedalSystemTest, Qd3ctlBacksUpAndRestoresABurstingPedal) {
  const sim::PedalState source = PedalUsingTenUserIrs();
  auto pedal = StartPedal("Burst Source", source, mFolder.Path() / "source.state");
  ASSERT_TRUE(pedal);
  const auto bank = mFolder.Path() / "backup.q3b";
  std::string log;
  std::optional<int> code = RunQd3ctl({"backup", "--api", "jack", "--in", PedalOut("Burst Source"),
                                       "--out", PedalIn("Burst Source"), bank.string()},
                                      log);
  ASSERT_EQ(code, 0) << log << ReadTextFile(LogPath("Burst Source"));
  sim::PedalModel same(source);
  EXPECT_EQ(ReadBytes(bank), ReferenceExport(same).file);
  EXPECT_EQ(pedal->Stop(SIGTERM, 10s), 0);

  const auto blankState = mFolder.Path() / "blank.state";
  auto blank = StartPedal("Burst Blank", BlankPedal(), blankState);
  ASSERT_TRUE(blank);
  code = RunQd3ctl({"restore", "--api", "jack", "--in", PedalOut("Burst Blank"), "--out",
                    PedalIn("Burst Blank"), "--yes", bank.string()},
                   log);
  ASSERT_EQ(code, 0) << log << ReadTextFile(LogPath("Burst Blank"));
  EXPECT_NE(log.find("All 128 presets restored and verified."), std::string::npos) << log;
  ASSERT_EQ(blank->Stop(SIGTERM, 10s), 0);

  sim::PedalState restored;
  ASSERT_EQ(sim::LoadStateFile(blankState, restored), sim::StateFileStatus::kOk);
  EXPECT_EQ(restored.presets, source.presets);
  for (int k = 0; k < kUserIrsInUse; ++k) {
    const auto n = static_cast<std::size_t>(UserIrOf(k));
    EXPECT_EQ(restored.userIrs[n], source.userIrs[n]) << "user IR " << n;
  }
  // The safety backup of the blank pedal went under our data folder.
  EXPECT_TRUE(std::filesystem::exists(mFolder.Path() / "data" / "QD3Control" / "Backups"));
}

// One slot through the real qd3ctl: get with its user IR, diff against the pedal, put into
// another slot with its safety copy, and the pedal's state afterwards.
TEST_F(BurstPedalSystemTest, Qd3ctlGetsPutsAndDiffsOneSlot) {
  const sim::PedalState source = PedalUsingTenUserIrs();
  const auto statePath = mFolder.Path() / "slot.state";
  auto pedal = StartPedal("Burst Slot", source, statePath);
  ASSERT_TRUE(pedal);
  const std::vector<std::string> ports = {
      "--api", "jack", "--in", PedalOut("Burst Slot"), "--out", PedalIn("Burst Slot")};
  const auto with = [&ports](std::vector<std::string> args) {
    args.insert(args.begin() + 1, ports.begin(), ports.end());
    return args;
  };
  const auto file = mFolder.Path() / "twelve.q3p";
  std::string log;
  // Slot 12 uses user IR 18 in position 7 (the pedal numbers its presets from 0).
  ASSERT_EQ(RunQd3ctl(with({"get", "12", file.string()}), log), 0) << log;
  const std::vector<uint8_t> bytes = ReadBytes(file);
  ASSERT_EQ(bytes.size(), 2698u) << "the header and one IR block";
  EXPECT_EQ(RunQd3ctl(with({"diff", file.string(), "slot:12"}), log), 0) << log;
  EXPECT_EQ(RunQd3ctl(with({"diff", file.string(), "slot:13"}), log), 1) << log;

  ASSERT_EQ(RunQd3ctl(with({"put", "--yes", file.string(), "40"}), log), 0) << log;
  EXPECT_NE(log.find("verified"), std::string::npos) << log;
  const auto backups = mFolder.Path() / "data" / "QD3Control" / "Backups";
  int copies = 0;
  for (const auto& entry : std::filesystem::directory_iterator(backups)) {
    copies += entry.path().filename().string().starts_with("QD3 preset 40") ? 1 : 0;
  }
  EXPECT_EQ(copies, 1) << "the safety copy of slot 40";
  ASSERT_EQ(pedal->Stop(SIGTERM, 10s), 0);

  sim::PedalState after;
  ASSERT_EQ(sim::LoadStateFile(statePath, after), sim::StateFileStatus::kOk);
  sim::Record stored = after.presets[40];
  sim::Record original = source.presets[12];
  EXPECT_TRUE(std::equal(sim::RecordName(stored).begin(), sim::RecordName(stored).end(),
                         sim::RecordName(original).begin()));
  // The IR went with it, into a user IR of its own slot (remade, as the editor's import
  // remakes it, so its name is what is compared).
  const int n = 128 * sim::RecordParam(stored, sim::kParamIrAHigh) +
                sim::RecordParam(stored, sim::kParamIrALow);
  EXPECT_NE(n, UserIrOf(1));
  const auto name = [](const sim::IrImage& image) { return sim::IrName(image); };
  const sim::IrImage& moved = after.userIrs[static_cast<std::size_t>(n)];
  const sim::IrImage& first = source.userIrs[static_cast<std::size_t>(UserIrOf(1))];
  EXPECT_TRUE(std::equal(name(moved).begin(), name(moved).end(), name(first).begin()));
  for (std::size_t slot = 0; slot < 128; ++slot) {
    if (slot == 40) continue;
    EXPECT_EQ(after.presets[slot], source.presets[slot]) << slot;
  }
}

}  // namespace
}  // namespace qd3::test
