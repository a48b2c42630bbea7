// qd3-sim as its own process on a private JACK server: the device-info poll over real
// ports, a knob turned from its console, its memory saved on SIGTERM, and a bursty, slow
// pedal (--burst, --reply-delay).

#include <RtMidi.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "simulator/DefaultState.h"
#include "simulator/PedalModel.h"
#include "simulator/StateFile.h"
#include "tests/simulator/system/ChildProcess.h"
#include "tests/simulator/system/JackServer.h"

namespace qd3::sim::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr char kPedalIn[] = "QD3 Simulator In:MIDI In";
constexpr char kPedalOut[] = "QD3 Simulator Out:MIDI Out";
constexpr auto kPortTimeout = 20s;
constexpr auto kReplyTimeout = 10s;
// A connection takes effect within a JACK period or two; a request without an answer is
// sent again after this long.
constexpr auto kResendInterval = 250ms;

const Bytes kPoll = {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x55, 0x0B, 0x0F, 0xF7};

// The editor's side of the cable.
class JackEditorPorts {
 public:
  JackEditorPorts()
      : mIn(RtMidi::UNIX_JACK, "qd3-sim-test-in"), mOut(RtMidi::UNIX_JACK, "qd3-sim-test-out") {
    mIn.ignoreTypes(false, true, true);
    mIn.setCallback(&JackEditorPorts::OnInput, this);
  }

  // True once both of the pedal's ports are listed and connected to ours.
  bool Connect() {
    const auto inIndex = Find(mIn, kPedalOut);
    const auto outIndex = Find(mOut, kPedalIn);
    if (!inIndex || !outIndex) return false;
    mIn.openPort(*inIndex, "from pedal");
    mOut.openPort(*outIndex, "to pedal");
    return true;
  }

  void Send(const Bytes& message) { mOut.sendMessage(message.data(), message.size()); }

  // Everything received so far, with the time each message reached our callback.
  std::vector<std::pair<Bytes, Clock::time_point>> Received() {
    std::lock_guard lock(mUtex);
    std::vector<std::pair<Bytes, Clock::time_point>> out;
    for (std::size_t i = 0; i < mReceived.size(); ++i) out.emplace_back(mReceived[i], mTimes[i]);
    return out;
  }
  void Forget() {
    std::lock_guard lock(mUtex);
    mReceived.clear();
    mTimes.clear();
  }
  // Waits until at least `count` messages have arrived; false after kReplyTimeout.
  bool WaitForCount(std::size_t count) {
    const auto deadline = Clock::now() + kReplyTimeout;
    while (Clock::now() < deadline) {
      {
        std::lock_guard lock(mUtex);
        if (mReceived.size() >= count) return true;
      }
      std::this_thread::sleep_for(1ms);
    }
    return false;
  }

  // Sends `request` until a message that `matches` arrives; that message, or nothing.
  template <typename Match>
  std::optional<Bytes> Ask(const Bytes& request, Match matches) {
    const auto deadline = Clock::now() + kReplyTimeout;
    auto nextSend = Clock::now();
    while (Clock::now() < deadline) {
      if (!request.empty() && Clock::now() >= nextSend) {
        Send(request);
        nextSend += kResendInterval;
      }
      {
        std::lock_guard lock(mUtex);
        for (const Bytes& message : mReceived) {
          if (matches(message)) return message;
        }
      }
      std::this_thread::sleep_for(2ms);
    }
    return std::nullopt;
  }

 private:
  template <typename Port>
  static std::optional<unsigned> Find(Port& port, const std::string& name) {
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
      if (port.getPortName(i) == name) return i;
    }
    return std::nullopt;
  }

  static void OnInput(double, std::vector<unsigned char>* message, void* user) {
    auto* self = static_cast<JackEditorPorts*>(user);
    std::lock_guard lock(self->mUtex);
    self->mReceived.push_back(*message);
    self->mTimes.push_back(Clock::now());
  }

  RtMidiIn mIn;
  RtMidiOut mOut;
  std::mutex mUtex;
  std::vector<Bytes> mReceived;
  std::vector<Clock::time_point> mTimes;
};

// Connects to qd3-sim's ports once they appear.
bool ConnectWhenListed(JackEditorPorts& editor, ChildProcess& sim) {
  const auto portDeadline = Clock::now() + kPortTimeout;
  while (Clock::now() < portDeadline && sim.Running()) {
    if (editor.Connect()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return false;
}

TEST(SimProcessSystemTest, AnswersThePollOverJackAndSavesOnSigterm) {
  JackServer server;
  ASSERT_TRUE(server.Running()) << server.Error();

  const std::string base =
      (std::filesystem::temp_directory_path() / ("qd3-sim-system-" + std::to_string(getpid())))
          .string();
  const std::string statePath = base + ".state";
  const std::string logPath = base + ".log";
  std::filesystem::remove(statePath);
  std::filesystem::remove(logPath);

  std::string error;
  auto sim = ChildProcess::Start({QD3_SIM_PATH, "--api", "jack", "--version", "12", "--serial",
                                  "SYSTEM-TEST-01", "--state", statePath, "--log"},
                                 logPath, true, error);
  ASSERT_TRUE(sim) << error;

  JackEditorPorts editor;
  const auto portDeadline = Clock::now() + kPortTimeout;
  bool connected = false;
  while (!connected && Clock::now() < portDeadline && sim->Running()) {
    connected = editor.Connect();
    if (!connected) std::this_thread::sleep_for(50ms);
  }
  ASSERT_TRUE(connected) << "qd3-sim's ports did not appear; its output:\n"
                         << ReadTextFile(logPath);

  // The device-info poll: a 267-byte data block of type 15 with version 1.2 and the serial.
  const auto info = editor.Ask(kPoll, [](const Bytes& m) { return m.size() == 267; });
  ASSERT_TRUE(info) << "no answer to the poll; qd3-sim's output:\n" << ReadTextFile(logPath);
  const Bytes head = {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x52, 0x0C, 0x0F};
  EXPECT_EQ(Bytes(info->begin(), info->begin() + 8), head);
  const std::string serial(info->begin() + 232, info->begin() + 264);
  EXPECT_EQ(serial, "SYSTEM-TEST-01" + std::string(18, ' '));
  uint32_t sum = 0;
  for (std::size_t i = 8; i < 264; ++i) sum += (*info)[i];
  EXPECT_EQ((*info)[264], (sum >> 7) & 0x7F);
  EXPECT_EQ((*info)[265], sum & 0x7F);
  EXPECT_EQ(info->back(), 0xF7);

  // Select preset 5, then turn the gain knob on the pedal's console.
  const Bytes select = {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x23, 0x0B, 0x05, 0xF7};
  EXPECT_TRUE(editor.Ask(
      select, [](const Bytes& m) { return m.size() == 267 && m[5] == 0x41 && m[7] == 5; }));
  ASSERT_TRUE(sim->WriteStdin("knob 1 100\n"));
  const Bytes echo = {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x51, 0x0B, 0x01, 0x64, 0xF7};
  EXPECT_TRUE(editor.Ask({}, [&](const Bytes& m) { return m == echo; }))
      << "no echo of the knob; qd3-sim's output:\n"
      << ReadTextFile(logPath);

  EXPECT_EQ(sim->Stop(SIGTERM, 10s), 0) << ReadTextFile(logPath);
  PedalState saved;
  ASSERT_EQ(LoadStateFile(statePath, saved), StateFileStatus::kOk);
  EXPECT_EQ(saved.firmwareVersion, 12);
  EXPECT_EQ(saved.serial, "SYSTEM-TEST-01");
  EXPECT_EQ(saved.currentPreset, 5);
  EXPECT_EQ(RecordParam(saved.editBuffer, 1), 100);
  EXPECT_NE(ReadTextFile(logPath).find("E->D kCmdRequestBlock type 15"), std::string::npos);

  std::filesystem::remove(statePath);
  std::filesystem::remove(logPath);
}

TEST(SimProcessSystemTest, BurstSendsAWholeIrTransferInOnePeriodAndReplyDelayHoldsAnswers) {
  JackServer server;
  ASSERT_TRUE(server.Running()) << server.Error();
  const std::string logPath = (std::filesystem::temp_directory_path() /
                               ("qd3-sim-burst-" + std::to_string(getpid()) + ".log"))
                                  .string();
  constexpr auto kReplyDelay = 150ms;
  std::string error;
  auto sim = ChildProcess::Start({QD3_SIM_PATH, "--api", "jack", "--burst", "--reply-delay", "150"},
                                 logPath, true, error);
  ASSERT_TRUE(sim) << error;
  JackEditorPorts editor;
  ASSERT_TRUE(ConnectWhenListed(editor, *sim)) << "qd3-sim's ports did not appear:\n"
                                               << ReadTextFile(logPath);
  ASSERT_TRUE(editor.Ask(kPoll, [](const Bytes& m) { return m.size() == 267; }))
      << "no answer to the poll; qd3-sim's output:\n"
      << ReadTextFile(logPath);

  // The connection stands: one poll, one answer, no sooner than the reply delay.
  std::this_thread::sleep_for(kResendInterval);
  editor.Forget();
  const auto asked = Clock::now();
  editor.Send(kPoll);
  ASSERT_TRUE(editor.WaitForCount(1)) << ReadTextFile(logPath);
  EXPECT_GE(editor.Received()[0].second - asked, kReplyDelay);

  // IR 0: all eleven messages of its transfer in the same JACK period (10.7 ms here; paced
  // at 48,000 bytes per second they would take about 55 ms), byte for byte the pedal's.
  editor.Forget();
  const Bytes requestIr0 = {0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x69, 0x0B, 0x00, 0x00, 0xF7};
  PedalModel model(DefaultPedalState());
  const Replies expected = model.Receive(requestIr0);
  ASSERT_EQ(expected.size(), 11u);
  editor.Send(requestIr0);
  ASSERT_TRUE(editor.WaitForCount(expected.size())) << ReadTextFile(logPath);
  std::this_thread::sleep_for(50ms);  // anything more would show up as a mismatch
  const auto got = editor.Received();
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].first, expected[i]) << i;
  EXPECT_LT(got.back().second - got.front().second, 5ms);

  EXPECT_EQ(sim->Stop(SIGTERM, 10s), 0) << ReadTextFile(logPath);
  std::filesystem::remove(logPath);
}

}  // namespace
}  // namespace qd3::sim::test
