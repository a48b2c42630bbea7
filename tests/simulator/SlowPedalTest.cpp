// The in-process pedal with a bursty or slow wire: what the editor's tests see.

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "protocol/DeviceReplies.h"
#include "simulator/DefaultState.h"
#include "simulator/SimulatedMidiLink.h"
#include "tests/simulator/SimTestSupport.h"

namespace qd3::sim::test {
namespace {

using namespace std::chrono_literals;

const Bytes kPoll = Hex("F0 00 3F 6B 03 55 0B 0F F7");
const Bytes kRequestIr0 = Hex("F0 00 3F 6B 03 69 0B 00 00 F7");

struct Inbox {
  static void Callback(const uint8_t* data, size_t size, void* user) {
    auto* self = static_cast<Inbox*>(user);
    std::lock_guard lock(self->mutex);
    self->messages.emplace_back(data, data + size);
  }
  std::vector<Bytes> Take() {
    std::lock_guard lock(mutex);
    return std::exchange(messages, {});
  }
  std::mutex mutex;
  std::vector<Bytes> messages;
};

void Connect(SimulatedMidiLink& link, Inbox& inbox) {
  ASSERT_TRUE(link.OpenPort(MidiDirection::kInput, 0, "in"));
  ASSERT_TRUE(link.OpenPort(MidiDirection::kOutput, 0, "out"));
  link.SetInputCallback(&Inbox::Callback, &inbox);
}

WireTiming Timing(Micros latency, double rate) {
  WireTiming timing;
  timing.latency = latency;
  timing.bytesPerSecond = rate;
  return timing;
}

TEST(SlowPedal, BurstLinkHandsOverTheWholeIrTransferAtOnce) {
  Inbox spaced;
  SimulatedMidiLink reference;
  Connect(reference, spaced);
  reference.Send(kRequestIr0);
  reference.Pump();
  const std::vector<Bytes> transfer = spaced.Take();
  ASSERT_EQ(transfer.size(), 11u);
  std::size_t bytes = 0;
  for (const Bytes& message : transfer) bytes += message.size();

  WireTiming timing = Timing(Micros{1000}, 48000);
  timing.burst = true;
  Inbox inbox;
  SimulatedMidiLink link(LinkOptions{DeliveryMode::kManual, timing});
  Connect(link, inbox);
  link.Send(kRequestIr0);
  EXPECT_EQ(link.PendingReplies(), 11u);
  const Micros due = Micros{1000} + TransmitTime(bytes, 48000);
  EXPECT_EQ(link.AdvanceBy(due - Micros{1}), 0u);
  EXPECT_TRUE(inbox.Take().empty());
  EXPECT_EQ(link.AdvanceBy(Micros{1}), 11u);
  EXPECT_EQ(inbox.Take(), transfer);
}

TEST(SlowPedal, BurstToAClosedInputIsLostMessageByMessage) {
  WireTiming timing = Timing(Micros{0}, 0);
  timing.burst = true;
  Inbox inbox;
  SimulatedMidiLink link(LinkOptions{DeliveryMode::kManual, timing});
  Connect(link, inbox);
  link.Send(kRequestIr0);
  link.ClosePort(MidiDirection::kInput);
  link.Pump();
  EXPECT_EQ(link.LostReplies(), 11);
  EXPECT_TRUE(inbox.Take().empty());
}

TEST(SlowPedal, TimingCanChangeWhileTheLinkRuns) {
  Inbox inbox;
  SimulatedMidiLink link;
  Connect(link, inbox);
  WireTiming slow = Timing(Micros{2000}, 48000);
  slow.replyDelay = 5ms;
  slow.jitterSeed = 9;
  link.SetTiming(slow);
  EXPECT_EQ(link.Timing().replyDelay, 5ms);
  EXPECT_EQ(link.Timing().jitterSeed, 9u);
  link.Send(kPoll);
  const Micros due = Micros{2000} + 5ms + TransmitTime(kRecordMessageSize, 48000);
  EXPECT_EQ(link.AdvanceBy(due - Micros{1}), 0u);
  EXPECT_EQ(link.AdvanceBy(Micros{1}), 1u);
}

// The messages of one exchange: all but the last are sent and answered first; the delay is
// measured on the answer to the last.
struct WriteCase {
  std::string name;
  std::vector<Bytes> messages;
  bool delayed;          // the last message is a write that stores something
  uint8_t replyCommand;  // of the last message of the answer to it
};

void PrintTo(const WriteCase& c, std::ostream* os) {
  *os << c.name;
}

const Record& SomeRecord() {
  static const Record record = DefaultPedalState().presets[9];
  return record;
}

Bytes WithCommand(Bytes message, uint8_t command) {
  message[kCommandOffset] = command;
  return message;
}

Bytes WithBadChecksum(Bytes message) {
  message[kChecksumLoOffset] ^= 1;
  return message;
}

std::vector<WriteCase> WriteCases() {
  const IrImage image = MakeSyntheticIr("slow write", 5);
  const std::vector<Bytes> upload = IrUploadMessages(image, 20);
  return {
      {"restore preset", {BuildRestorePreset(3, SomeRecord())}, true, kCmdWriteAck},
      {"factory write", {BuildWriteFactoryPreset(3, SomeRecord())}, true, kCmdWriteAckAlt},
      {"store parameter", {BuildParamChange(kDeviceParamStore, 4)}, true, kCmdPresetDump},
      {"IR upload end", upload, true, kCmdIrStored},
      {"IR upload begin", {upload[0]}, false, kCmdIrChunkAck},
      {"restore IR begin", {WithCommand(upload[0], kCmdRestoreIrBegin)}, false, kCmdWriteNext},
      {"refused restore",
       {WithBadChecksum(BuildRestorePreset(3, SomeRecord()))},
       false,
       kCmdWriteNak},
      {"preset request", {BuildRequestPreset(3)}, false, kCmdPresetDump},
      {"poll", {kPoll}, false, kCmdDataBlock},
  };
}

class WriteDelay : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteDelay, HoldsTheAnswerToAWriteOnly) {
  WireTiming timing = Timing(Micros{1000}, 0);
  timing.writeDelay = 50ms;
  Inbox inbox;
  SimulatedMidiLink link(LinkOptions{DeliveryMode::kManual, timing});
  Connect(link, inbox);
  const std::vector<Bytes>& messages = GetParam().messages;
  for (std::size_t i = 0; i + 1 < messages.size(); ++i) link.Send(messages[i]);
  link.Pump();
  inbox.Take();

  link.Send(messages.back());
  const Micros due = Micros{1000} + (GetParam().delayed ? 50ms : 0ms);
  EXPECT_EQ(link.AdvanceBy(due - Micros{1}), 0u);
  EXPECT_GE(link.AdvanceBy(Micros{1}), 1u);
  link.Pump();
  const std::vector<Bytes> got = inbox.Take();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back()[kCommandOffset], GetParam().replyCommand);
}

INSTANTIATE_TEST_SUITE_P(SlowPedal, WriteDelay, ::testing::ValuesIn(WriteCases()),
                         [](const auto& param) {
                           std::string name = param.param.name;
                           for (char& c : name) {
                             if (c == ' ') c = '_';
                           }
                           return name;
                         });

TEST(SlowPedal, WithoutWriteDelayAWriteIsAnsweredAfterTheLatency) {
  Inbox inbox;
  SimulatedMidiLink link(LinkOptions{DeliveryMode::kManual, Timing(Micros{1000}, 0)});
  Connect(link, inbox);
  link.Send(BuildRestorePreset(3, SomeRecord()));
  EXPECT_EQ(link.AdvanceBy(Micros{999}), 0u);
  EXPECT_EQ(link.AdvanceBy(Micros{1}), 1u);
}

TEST(SlowPedal, MessagesSentBeforeAWriteIsAnsweredAreCounted) {
  WireTiming timing = Timing(Micros{1000}, 0);
  timing.writeDelay = 50ms;
  Inbox inbox;
  SimulatedMidiLink link(LinkOptions{DeliveryMode::kManual, timing});
  Connect(link, inbox);
  PedalService& pedal = link.Pedal();

  link.Send(BuildRestorePreset(3, SomeRecord()));
  link.AdvanceBy(20ms);
  link.Send(kPoll);  // too early: the acknowledgement is still 31 ms away
  EXPECT_EQ(pedal.MessagesDuringWrite(), 1);
  // The poll is answered behind the write, once it is done.
  link.AdvanceBy(31ms);
  const std::vector<Bytes> got = inbox.Take();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], Hex("F0 00 3F 6B 03 71 F7"));
  EXPECT_EQ(got[1][kCommandOffset], kCmdDataBlock);
  link.Send(BuildRestorePreset(4, SomeRecord()));  // right after it: fine
  EXPECT_EQ(pedal.MessagesDuringWrite(), 1);

  link.Pump();
  inbox.Take();
  // A store has no answer, so nothing the editor sends after it counts; its answers
  // still wait until the pedal has written.
  link.Send(BuildStorePreset(5, SomeRecord()));
  link.Send(kPoll);
  EXPECT_EQ(pedal.MessagesDuringWrite(), 1);
  EXPECT_EQ(link.AdvanceBy(50ms + Micros{999}), 0u);
  EXPECT_EQ(link.AdvanceBy(Micros{1}), 1u);
}

TEST(SlowPedal, AnImmediateLinkCountsNothing) {
  WireTiming timing;
  timing.writeDelay = 50ms;
  Inbox inbox;
  SimulatedMidiLink link(LinkOptions{DeliveryMode::kImmediate, timing});
  Connect(link, inbox);
  link.Send(BuildRestorePreset(3, SomeRecord()));
  link.Send(kPoll);
  EXPECT_EQ(inbox.Take().size(), 2u);
  EXPECT_EQ(link.Pedal().MessagesDuringWrite(), 0);
}

TEST(SlowPedal, TheModelTellsWhichMessagesStored) {
  PedalModel pedal;
  pedal.Receive(BuildRestorePreset(3, SomeRecord()));
  EXPECT_TRUE(pedal.LastWasWrite());
  pedal.Receive(kPoll);
  EXPECT_FALSE(pedal.LastWasWrite());
  pedal.Receive(BuildStorePreset(5, SomeRecord()));
  EXPECT_TRUE(pedal.LastWasWrite());
  pedal.Faults().refuseWrites = 1;
  pedal.Receive(BuildStorePreset(5, SomeRecord()));
  EXPECT_FALSE(pedal.LastWasWrite());
}

}  // namespace
}  // namespace qd3::sim::test
