// The synchronisation's own state machine, fed by hand: bracket, requests, pacing by
// dumps, the repeat after a bad dump and the give-up after a silent pedal.
#include <gtest/gtest.h>

#include <array>

#include "presets/PresetSync.h"
#include "protocol/MessageBuilders.h"

namespace qd3 {
namespace {

// A dump of `slot` as the pedal sends it: the store layout under the dump's command.
Bytes Dump(int slot, uint8_t fill) {
  std::array<uint8_t, kRecordSize> record{};
  record.fill(fill);
  Bytes m = BuildStorePreset(slot, record);
  m[kCommandOffset] = kCmdPresetDump;
  return m;
}

// Checksum block data that differs from an empty cache in the given slots.
std::array<uint8_t, kChecksumBlockSize> Stale(std::initializer_list<int> slots) {
  std::array<uint8_t, kChecksumBlockSize> data{};
  for (int s : slots) data[static_cast<size_t>(2 * s + 1)] = 1;
  return data;
}

struct SyncRig {
  DeviceSession session;
  ChecksumTable checksums;
  PresetSync sync{session, checksums};
};

uint8_t Command(const TransferStep& step, size_t i = 0) {
  return step.messages.at(i)[kCommandOffset];
}

TEST(PresetSync, NothingStaleAsksForTheGlobalSettingsAtOnce) {
  SyncRig rig;
  const TransferStep step = rig.sync.OnChecksumBlock(Stale({}));
  ASSERT_EQ(step.messages.size(), 1u);
  EXPECT_EQ(step.messages[0], BuildRequestBlock(kBlockGlobalSettings));
  EXPECT_FALSE(rig.sync.Active());
}

TEST(PresetSync, BracketThenLowestSlotThenEachDumpAsksForTheNext) {
  SyncRig rig;
  EXPECT_TRUE(rig.sync.OnChecksumBlock(Stale({9, 3})).messages.empty());
  EXPECT_FALSE(rig.sync.OwnsDump());
  EXPECT_EQ(rig.sync.OnTick().messages, std::vector<Bytes>{BuildBulkBegin()});
  const TransferStep first = rig.sync.OnTick();
  EXPECT_EQ(first.messages, std::vector<Bytes>{BuildRequestPreset(3)});
  EXPECT_EQ(first.progress, 0.0);
  EXPECT_EQ(rig.session.readTotal, 2);

  auto r = rig.sync.OnDump(Dump(3, 1));
  EXPECT_EQ(r.storedSlot, 3);
  EXPECT_EQ(r.step.messages, std::vector<Bytes>{BuildRequestPreset(9)});
  EXPECT_EQ(r.step.progress, 0.5);

  r = rig.sync.OnDump(Dump(9, 2));
  EXPECT_EQ(r.storedSlot, 9);
  EXPECT_EQ(r.step.end, TransferEnd::kFinished);
  EXPECT_EQ(r.step.overlay, ProgressOverlay::kHide);
  EXPECT_EQ(Command(r.step), kCmdRequestBlock);
  EXPECT_FALSE(rig.sync.Active());
  EXPECT_FALSE(rig.session.applyingDeviceValues);
}

TEST(PresetSync, BadDumpAsksForTheSameSlotAndStoresNothing) {
  SyncRig rig;
  rig.sync.OnChecksumBlock(Stale({5}));
  rig.sync.OnTick();
  rig.sync.OnTick();
  Bytes bad = Dump(5, 1);
  bad[100] ^= 1;
  const auto r = rig.sync.OnDump(bad);
  EXPECT_FALSE(r.storedSlot);
  EXPECT_EQ(r.step.messages, std::vector<Bytes>{BuildRequestPreset(5)});
  EXPECT_TRUE(rig.checksums.IsPending(5));
}

TEST(PresetSync, SilentPedalIsAskedThreeTimesThenTheRunEndsWithAMessage) {
  SyncRig rig;
  rig.sync.OnChecksumBlock(Stale({7}));
  rig.sync.OnTick();
  rig.sync.OnTick();
  int requests = 0;
  TransferStep last;
  for (int tick = 0; tick < 4 * (kSyncWaitTicks + 1); ++tick) {
    last = rig.sync.OnTick();
    for (const Bytes& m : last.messages) requests += m == BuildRequestPreset(7);
    if (last.end != TransferEnd::kRunning) break;
  }
  EXPECT_EQ(requests, kSyncMaxRetries);
  EXPECT_EQ(last.end, TransferEnd::kFailed);
  EXPECT_EQ(last.message, kTextSyncGaveUp);
  // Regression: the global settings were asked for from the silent pedal, whose second
  // give-up then said the same again in another box.
  EXPECT_TRUE(last.messages.empty());
  EXPECT_TRUE(rig.checksums.IsPending(7)) << "left for the next connection";
}

// Regression: a slot whose dump always failed its checksum was asked for again and
// again at full speed, without end.
TEST(PresetSync, ASlotThatStaysDamagedIsSkippedAfterFiveDumpsAndNamedAtTheEnd) {
  SyncRig rig;
  rig.sync.OnChecksumBlock(Stale({4, 6}));
  rig.sync.OnTick();
  rig.sync.OnTick();
  Bytes bad = Dump(4, 1);
  bad[100] ^= 1;
  int requestsOf4 = 1;  // the first request
  PresetSync::DumpResult r;
  for (int i = 0; i < kSyncMaxBadDumps; ++i) {
    r = rig.sync.OnDump(bad, 1);
    for (const Bytes& m : r.step.messages) requestsOf4 += m == BuildRequestPreset(4);
  }
  EXPECT_EQ(requestsOf4, kSyncMaxBadDumps);
  EXPECT_EQ(r.step.messages, std::vector<Bytes>{BuildRequestPreset(6)}) << "the run goes on";
  r = rig.sync.OnDump(Dump(6, 2), 1);
  EXPECT_EQ(r.step.end, TransferEnd::kFailed);
  EXPECT_NE(r.step.message.find("preset 05"), std::string::npos) << r.step.message;
  EXPECT_EQ(Command(r.step), kCmdRequestBlock) << "the handshake still continues";
  EXPECT_FALSE(rig.sync.Active());
  EXPECT_TRUE(rig.checksums.IsPending(4)) << "left for the next connection";
}

// A Cancel ends the run as its last dump would; the dump still owed is dropped when it
// comes, but only for as long as a dump is waited for, and only that slot's.
TEST(PresetSync, ACancelDropsTheOwedDumpForItsWaitOnly) {
  SyncRig rig;
  rig.sync.OnChecksumBlock(Stale({3, 9}));
  rig.sync.OnTick();                                 // the bracket
  ASSERT_EQ(rig.sync.OnTick().messages.size(), 1u);  // asks for 3
  const TransferStep end = rig.sync.Cancel();
  EXPECT_FALSE(rig.sync.Active());
  EXPECT_EQ(end.end, TransferEnd::kFailed);
  EXPECT_EQ(end.message, kTextSyncCancelled);
  EXPECT_EQ(end.messages, std::vector<Bytes>{BuildRequestBlock(kBlockGlobalSettings)});
  EXPECT_TRUE(rig.checksums.IsPending(9)) << "read at the next connection";
  EXPECT_TRUE(rig.sync.Cancel().messages.empty()) << "nothing left to cancel";

  EXPECT_FALSE(rig.sync.DropLateDump(Dump(4, 1))) << "another slot's dump counts";
  EXPECT_TRUE(rig.sync.DropLateDump(Dump(3, 1)));
  EXPECT_FALSE(rig.sync.DropLateDump(Dump(3, 1))) << "dropped once";

  // Cancelled again, and the owed dump never comes: after the wait it counts again.
  rig.sync.OnChecksumBlock(Stale({3}));
  rig.sync.OnTick();
  rig.sync.OnTick();
  rig.sync.Cancel();
  for (int i = 0; i < kSyncWaitTicks; ++i) rig.sync.AgeLateDump();
  EXPECT_FALSE(rig.sync.DropLateDump(Dump(3, 1)));
}

}  // namespace
}  // namespace qd3
