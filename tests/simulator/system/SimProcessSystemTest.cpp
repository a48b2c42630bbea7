// qd3-sim as its own process on a private JACK server: the device-info poll over real
// ports, a knob turned from its console, and its memory saved on SIGTERM.

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
  }

  RtMidiIn mIn;
  RtMidiOut mOut;
  std::mutex mUtex;
  std::vector<Bytes> mReceived;
};

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

}  // namespace
}  // namespace qd3::sim::test
