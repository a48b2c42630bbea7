// Mirroring the pedal's 128 presets in the disk cache, slot by slot, by checksum.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "protocol/MessageBuilders.h"
#include "tests/support/CoreHarness.h"

namespace qd3::test {
namespace {

constexpr int kRequestBlock = kCmdRequestBlock;
constexpr int kRequestPreset = kCmdRequestPreset;
constexpr int kBulkBegin = kCmdBulkBegin;
constexpr int kBulkEnd = kCmdBulkEnd;

int PedalCurrent(CoreHarness& h) {
  return h.link.Pedal().Inspect([](const sim::PedalModel& m) { return m.State().currentPreset; });
}

std::vector<int> RequestedSlots(const CoreHarness& h, size_t from) {
  std::vector<int> slots;
  for (const auto& [command, selector] : h.SentSince(from)) {
    if (command == kRequestPreset) slots.push_back(selector);
  }
  return slots;
}

// Runs a whole synchronisation: until it starts, then until it ends.
bool RunWholeSync(CoreHarness& h) {
  return h.RunUntil([&] { return h.editor.session.readAllActive; }, 2s) &&
         h.RunUntil([&] { return !h.editor.session.readAllActive; }, 10s);
}

// The commands sent since `from`, leaving out requests for user IRs: the demo
// presets use IRs that nothing has cached yet, and those requests are tested apart.
std::vector<std::pair<int, int>> SentWithoutIrRequests(const CoreHarness& h, size_t from) {
  auto sent = h.SentSince(from);
  std::erase_if(sent, [](const auto& m) { return m.first == kCmdRequestIr; });
  return sent;
}

// Runs until the synchronisation has sent its first request (or no run starts).
bool RunToFirstSyncRequest(CoreHarness& h) {
  return h.RunUntil(
      [&] { return h.editor.session.readAllActive && h.editor.session.bulkBeginPending == false; },
      5s);
}

TEST(PresetSync, EmptyCacheReadsAll128SlotsInOrderWithProgress) {
  CoreHarness h;
  h.OpenWindow({53, 54});
  ASSERT_TRUE(h.Connect());
  const size_t start = h.sent.messages.size();
  ASSERT_TRUE(RunWholeSync(h));
  h.RunFor(500ms);

  std::vector<int> expectedSlots;
  for (int slot = 0; slot < kPresetCount; ++slot) expectedSlots.push_back(slot);
  expectedSlots.push_back(PedalCurrent(h));  // the current preset after the settings
  EXPECT_EQ(RequestedSlots(h, start), expectedSlots);

  std::vector<std::string> expectedTexts = {"0 %"};
  for (int done = 1; done < kPresetCount; ++done) {
    char text[16];
    std::snprintf(text, sizeof text, "%d %%", static_cast<int>(done * 100.0 / kPresetCount));
    expectedTexts.push_back(text);
  }
  expectedTexts.push_back("100 %");
  // The bar follows at most every 50 ms, so it shows some of these, in order, from the
  // first to the last. The current preset loaded afterwards may fetch its user IR on the
  // same overlay.
  const auto& history = h.screen.At(54).strHistory;
  const auto last = std::find(history.begin(), history.end(), "100 %");
  ASSERT_NE(last, history.end());
  const std::vector<std::string> shown(history.begin(), last + 1);
  EXPECT_EQ(shown.front(), "0 %");
  auto next = expectedTexts.begin();
  for (const std::string& text : shown) {
    next = std::find(next, expectedTexts.end(), text);
    ASSERT_NE(next, expectedTexts.end()) << text << " out of order";
  }
  EXPECT_LE(shown.size(), 40u) << "redrawn for nearly every dump";
  EXPECT_EQ(h.screen.hiddenGroups.count("progresscontrols"), 1u);

  // Every slot is on disk with the pedal's checksum in the table.
  const auto pedalPresets =
      h.link.Pedal().Inspect([](const sim::PedalModel& m) { return m.State().presets; });
  for (int slot = 0; slot < kPresetCount; ++slot) {
    const auto cached = h.editor.Cache()->ReadPreset(slot);
    ASSERT_TRUE(cached.has_value()) << slot;
    EXPECT_TRUE(std::equal(cached->Bytes().begin(), cached->Bytes().end(),
                           pedalPresets[static_cast<size_t>(slot)].begin()))
        << slot;
    EXPECT_EQ(h.editor.checksums.Pair(slot),
              sim::RecordChecksum(pedalPresets[static_cast<size_t>(slot)]));
    EXPECT_FALSE(h.editor.checksums.IsPending(slot));
  }
  EXPECT_EQ(h.editor.PresetRowLabel(0).substr(0, 4), " 00 ");
}

TEST(PresetSync, ACacheIdenticalToThePedalRequestsNoPreset) {
  CoreHarness h;
  ASSERT_TRUE(h.ConnectAndSettle());
  h.editor.Reconnect();
  const size_t start = h.sent.messages.size();
  ASSERT_TRUE(h.ConnectAndSettle());
  const std::vector<std::pair<int, int>> expected = {{kRequestBlock, kBlockDeviceInfo},
                                                     {kRequestBlock, kBlockPresetChecksums},
                                                     {kRequestBlock, kBlockGlobalSettings},
                                                     {kBulkEnd, -1},
                                                     {kRequestPreset, PedalCurrent(h)}};
  EXPECT_EQ(SentWithoutIrRequests(h, start), expected);
}

TEST(PresetSync, ACacheRebuiltFromDiskIsAsGoodAsTheOneInMemory) {
  CoreHarness h;
  ASSERT_TRUE(h.ConnectAndSettle());
  // A new editor on the same folder, as at the next start of the program.
  QD3Control second;
  second.OpenCache(h.folder.Path());
  second.LoadCacheState();
  for (int slot = 0; slot < kPresetCount; ++slot) {
    EXPECT_EQ(second.checksums.Pair(slot), h.editor.checksums.Pair(slot)) << slot;
    EXPECT_EQ(second.PresetRowLabel(slot),
              h.editor.PresetRowLabel(slot).substr(0, second.PresetRowLabel(slot).size()));
  }
}

TEST(PresetSync, OneChangedSlotIsTheOnlyOneFetched) {
  CoreHarness h;
  ASSERT_TRUE(h.ConnectAndSettle());
  h.link.Pedal().Modify([](sim::PedalModel& m) { sim::RecordName(m.State().presets[7])[0] = 'X'; });
  h.editor.Reconnect();
  const size_t start = h.sent.messages.size();
  ASSERT_TRUE(h.ConnectAndSettle());
  const std::vector<std::pair<int, int>> expected = {{kRequestBlock, kBlockDeviceInfo},
                                                     {kRequestBlock, kBlockPresetChecksums},
                                                     {kBulkBegin, -1},
                                                     {kRequestPreset, 7},
                                                     {kRequestBlock, kBlockGlobalSettings},
                                                     {kBulkEnd, -1},
                                                     {kRequestPreset, PedalCurrent(h)}};
  EXPECT_EQ(SentWithoutIrRequests(h, start), expected);
  EXPECT_EQ(h.editor.Cache()->ReadPreset(7)->NameField()[0], 'X');
}

TEST(PresetSync, ACorruptedDumpIsRequestedAgainAndProgressDoesNotAdvance) {
  CoreHarness h;
  h.OpenWindow({53, 54});
  ASSERT_TRUE(h.Connect());
  ASSERT_TRUE(RunToFirstSyncRequest(h));  // bracket sent, first request on the next tick
  h.link.Pedal().CorruptNextChecksum();
  const size_t start = h.sent.messages.size();
  ASSERT_TRUE(h.RunUntil([&] { return RequestedSlots(h, start).size() >= 2; }, 1s));
  EXPECT_EQ(RequestedSlots(h, start), (std::vector<int>{0, 0}));
  EXPECT_EQ(h.editor.session.readDone, 0);
  EXPECT_EQ(h.screen.At(54).strHistory, (std::vector<std::string>{"0 %"}));
  EXPECT_FALSE(h.editor.Cache()->ReadPreset(0).has_value());
  ASSERT_TRUE(h.RunUntil([&] { return !h.editor.session.readAllActive; }, 10s));
  EXPECT_EQ(h.editor.checksums.PendingCount(), 0);
}

TEST(PresetSync, ALostDumpIsRequestedAgainAfterTwoSeconds) {
  CoreHarness h;
  ASSERT_TRUE(h.Connect());
  ASSERT_TRUE(RunToFirstSyncRequest(h));
  h.link.Pedal().DropNextReplies(1);
  const size_t start = h.sent.messages.size();
  h.RunFor(2s);
  EXPECT_EQ(RequestedSlots(h, start), (std::vector<int>{0})) << "still waiting";
  h.RunFor(300ms);
  const auto asked = RequestedSlots(h, start);
  ASSERT_GE(asked.size(), 2u);
  EXPECT_EQ(asked[1], 0) << "the same slot asked again";
  ASSERT_TRUE(h.RunUntil([&] { return !h.editor.session.readAllActive; }, 10s));
  EXPECT_FALSE(h.editor.session.messagePending);
  EXPECT_EQ(h.editor.checksums.PendingCount(), 0);
}

TEST(PresetSync, APedalThatStopsAnsweringEndsTheRunAndKeepsTheRestPending) {
  CoreHarness h;
  h.idleTicks = false;  // the posted box stays pending for the test to read
  ASSERT_TRUE(h.Connect());
  ASSERT_TRUE(h.RunUntil([&] { return h.editor.session.readDone == 10; }, 5s));
  h.link.Pedal().SetSilent(true);
  const size_t start = h.sent.messages.size();
  h.RunFor(9s);
  EXPECT_FALSE(h.editor.session.readAllActive);
  EXPECT_FALSE(h.editor.session.applyingDeviceValues);
  EXPECT_TRUE(h.editor.session.messagePending);
  EXPECT_NE(h.editor.session.pendingMessage.find("stopped answering"), std::string::npos);
  const int stuck = h.editor.session.readIndex;
  const auto asked = RequestedSlots(h, 0);
  EXPECT_EQ(std::count(asked.begin(), asked.end(), stuck), 4) << "asked once and three times again";
  // Regression: the global settings were asked for from the silent pedal, whose second
  // give-up said the same again. The editor now looks for the pedal anew instead.
  const auto since = h.SentSince(start);
  EXPECT_EQ(std::count(since.begin(), since.end(),
                       std::pair<int, int>{kRequestBlock, kBlockGlobalSettings}),
            0);
  EXPECT_FALSE(h.editor.session.connected);
  EXPECT_EQ(h.editor.checksums.PendingCount(), kPresetCount - stuck);

  // Back on the wire: the next connection fetches exactly the slots not read.
  h.link.Pedal().SetSilent(false);
  h.editor.Reconnect();
  const size_t again = h.sent.messages.size();
  ASSERT_TRUE(h.ConnectAndSettle());
  std::vector<int> rest;
  for (int slot = stuck; slot < kPresetCount; ++slot) rest.push_back(slot);
  rest.push_back(PedalCurrent(h));
  EXPECT_EQ(RequestedSlots(h, again), rest);
}

TEST(PresetSync, ClearCacheKeepsTheWavFilesAndForgetsEveryChecksum) {
  CoreHarness h;
  ASSERT_TRUE(h.ConnectAndSettle());
  const auto wav = h.folder.Path() / "Factory IRs" / "01-Tolvane.wav";
  std::filesystem::create_directories(wav.parent_path());
  WriteBytes(wav, {'R', 'I', 'F', 'F'});
  h.editor.ClearCacheData();
  EXPECT_TRUE(std::filesystem::exists(wav));
  EXPECT_FALSE(std::filesystem::exists(h.folder.Path() / "Presets" / "001.dat"));
  for (int slot = 0; slot < kPresetCount; ++slot) {
    EXPECT_EQ(h.editor.checksums.Pair(slot), (Checksum14Pair{0, 0}));
  }
  EXPECT_EQ(h.editor.PresetRowLabel(5), " 05 ");
}

}  // namespace
}  // namespace qd3::test
