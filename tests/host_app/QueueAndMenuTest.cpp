#include <gtest/gtest.h>
#include <poll.h>

#include <thread>
#include <vector>

#include "host/app/AppArgs.h"
#include "host/app/AudioDeviceChoice.h"
#include "host/app/IncomingSysexQueue.h"
#include "host/app/MenuTable.h"
#include "params/PageNumbers.h"

namespace qd3 {
namespace {

TEST(IncomingSysexQueue, HandsMessagesOverInOrderAndWakesTheReader) {
  IncomingSysexQueue queue;
  pollfd p{queue.WakeFd(), POLLIN, 0};
  EXPECT_EQ(::poll(&p, 1, 0), 0);
  const uint8_t a[] = {0xF0, 1, 0xF7};
  const uint8_t b[] = {0xF0, 2, 3, 0xF7};
  ASSERT_TRUE(queue.Push(a, sizeof a));
  ASSERT_TRUE(queue.Push(b, sizeof b));
  EXPECT_EQ(::poll(&p, 1, 0), 1);
  std::vector<std::vector<uint8_t>> got;
  EXPECT_EQ(queue.Drain([&](const uint8_t* m, size_t n) { got.emplace_back(m, m + n); }), 2u);
  EXPECT_EQ(got, (std::vector<std::vector<uint8_t>>{{0xF0, 1, 0xF7}, {0xF0, 2, 3, 0xF7}}));
  EXPECT_EQ(::poll(&p, 1, 0), 0);
}

TEST(IncomingSysexQueue, DropsWhatDoesNotFit) {
  IncomingSysexQueue queue;
  std::vector<uint8_t> big(IncomingSysexQueue::kMaxMessage + 1, 0);
  EXPECT_FALSE(queue.Push(big.data(), big.size()));
  big.pop_back();
  for (size_t i = 0; i + 1 < IncomingSysexQueue::kSlots; ++i) {
    ASSERT_TRUE(queue.Push(big.data(), big.size()));
  }
  EXPECT_FALSE(queue.Push(big.data(), big.size()));
  EXPECT_EQ(queue.Dropped(), 2u);
}

TEST(IncomingSysexQueue, AProducerThreadLosesNothingAndKeepsOrder) {
  IncomingSysexQueue queue;
  constexpr int kCount = 5000;
  std::thread producer([&] {
    for (int i = 0; i < kCount;) {
      const uint8_t m[] = {0xF0, static_cast<uint8_t>(i & 0x7F), static_cast<uint8_t>(i >> 7),
                           0xF7};
      if (queue.Push(m, sizeof m)) ++i;
    }
  });
  int next = 0;
  while (next < kCount) {
    pollfd p{queue.WakeFd(), POLLIN, 0};
    ::poll(&p, 1, 100);
    queue.Drain([&](const uint8_t* m, size_t) {
      EXPECT_EQ(m[1] | (m[2] << 7), next);
      ++next;
    });
  }
  producer.join();
}

TEST(MenuTable, EntriesCarryTheirNumbersAndCommands) {
  struct Row {
    const char* label;
    int number;
    MenuAction action;
    int command;
  };
  const Row rows[] = {
      {"_Import All Presets to QD3...", 40033, MenuAction::kEditorCommand, 5},
      {"_Export All Presets from QD3 ...", 40034, MenuAction::kEditorCommand, 6},
      {"", 0, MenuAction::kSeparator, 0},
      {"_Firmware Update...", 40029, MenuAction::kEditorCommand, 1},
      {"_Factory Presets Update...", 40036, MenuAction::kEditorCommand, 8},
      {"_Clear Cache Data", 40031, MenuAction::kEditorCommand, 3},
      {"", 0, MenuAction::kSeparator, 0},
      {"_MIDI Settings...", 40006, MenuAction::kPreferences, 0},
      {"_QD3 Global Settings...", 40030, MenuAction::kEditorCommand, 2},
      {"", 0, MenuAction::kSeparator, 0},
      {"_Quit", 40007, MenuAction::kQuit, 0},
      {"_Undo", 40040, MenuAction::kEditorCommand, 9},
      {"_Redo", 40041, MenuAction::kEditorCommand, 10},
      {"_About", 40005, MenuAction::kAbout, 0},
      {"_Read Manual", 40008, MenuAction::kManual, 0},
  };
  ASSERT_EQ(std::size(rows), kMenuEntries.size());
  for (size_t i = 0; i < kMenuEntries.size(); ++i) {
    EXPECT_EQ(GtkMnemonicLabel(kMenuEntries[i].text), rows[i].label) << i;
    EXPECT_EQ(kMenuEntries[i].number, rows[i].number) << i;
    EXPECT_EQ(kMenuEntries[i].action, rows[i].action) << i;
    EXPECT_EQ(kMenuEntries[i].editorCommand, rows[i].command) << i;
  }
}

TEST(MenuTable, MnemonicLabels) {
  EXPECT_EQ(GtkMnemonicLabel("&File"), "_File");
  EXPECT_EQ(GtkMnemonicLabel("A && B"), "A & B");
  EXPECT_EQ(GtkMnemonicLabel("snake_case"), "snake__case");
  EXPECT_EQ(GtkMnemonicLabel("&MIDI Settings...\tCtrl+,"), "_MIDI Settings...");
}

TEST(AudioDeviceChoice, StoredNamesResolveOrFallBackToTheDefaults) {
  const std::vector<AudioDevice> devices{
      {0, "hdmi", 0, 8, false, false},
      {1, "system", 2, 2, true, true},
      {2, "usb", 2, 0, false, false},
  };
  struct Case {
    const char* in;
    const char* out;
    const char* wantIn;
    const char* wantOut;
    bool changed;
  };
  const Case cases[] = {
      {"usb", "hdmi", "usb", "hdmi", false},
      {"Built-in Input", "Built-in Output", "system", "system", true},
      {"hdmi", "usb", "system", "system", true},  // wrong direction
  };
  for (const Case& c : cases) {
    std::string in = c.in, out = c.out;
    const AudioDeviceChoice choice = ChooseAudioDevices(devices, in, out);
    ASSERT_TRUE(choice.Usable());
    EXPECT_EQ(choice.input->name, c.wantIn);
    EXPECT_EQ(choice.output->name, c.wantOut);
    EXPECT_EQ(in, c.wantIn);
    EXPECT_EQ(out, c.wantOut);
    EXPECT_EQ(choice.namesChanged, c.changed);
  }
}

TEST(AudioDeviceChoice, NoDevicesIsUnusable) {
  std::string in = "x", out = "y";
  EXPECT_FALSE(ChooseAudioDevices({}, in, out).Usable());
  EXPECT_EQ(in, "x");
  const std::vector<AudioDevice> outputOnly{{0, "out", 0, 2, false, true}};
  EXPECT_FALSE(ChooseAudioDevices(outputOnly, in, out).Usable());
}

TEST(AppArgs, Options) {
  EXPECT_FALSE(ParseAppArgs({}).options.demo);
  EXPECT_TRUE(ParseAppArgs({"--demo"}).options.demo);
  EXPECT_TRUE(ParseAppArgs({"-h"}).help);
  EXPECT_FALSE(ParseAppArgs({"--bogus"}).error.empty());
  EXPECT_TRUE(ParseAppArgs({"--version"}).version);
  EXPECT_TRUE(ParseAppArgs({"-V"}).version);
}

TEST(AppArgs, ScreenshotTakesTheNextArgumentAsItsFile) {
  const ParsedArgs parsed = ParseAppArgs({"--demo", "--screenshot", "shot.png"});
  EXPECT_TRUE(parsed.error.empty());
  EXPECT_TRUE(parsed.options.demo);
  EXPECT_EQ(parsed.options.screenshotPath, "shot.png");
  EXPECT_FALSE(ParseAppArgs({"--screenshot"}).error.empty()) << "a file name is needed";
  EXPECT_TRUE(ParseAppArgs({}).options.screenshotPath.empty());
  EXPECT_EQ(ParseAppArgs({"--screenshot", "d.png", "--page", "drive"}).options.screenshotPage,
            kPageDrive);
  EXPECT_FALSE(ParseAppArgs({"--page", "nowhere"}).error.empty());
  EXPECT_FALSE(ParseAppArgs({"--page"}).error.empty());
}

TEST(AppArgs, UsageNamesEveryOption) {
  const std::string usage = AppUsage();
  for (const char* option : {"--demo", "--screenshot", "--help", "-h", "--version", "-V"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
  EXPECT_EQ(AppVersionText().rfind("qd3control ", 0), 0u);
}

}  // namespace
}  // namespace qd3
