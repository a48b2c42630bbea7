#include "host/app/AppSettings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "host/MidiPorts.h"
#include "host/app/AudioDeviceChoice.h"
#include "tests/support/FakeMidiTransport.h"
#include "tests/support/TempFolder.h"

namespace qd3 {
namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

constexpr char kDefaultSections[] =
    "[audio]\ndriver=0\nindev=Built-in Input\noutdev=Built-in Output\nin1=1\nin2=2\nout1=1\n"
    "out2=2\nbuffer=512\nsr=44100\n[midi]\nindev=no input\noutdev=no output\ninchan=0\n"
    "outchan=0\n";

TEST(AppSettings, FirstStartWritesEveryAudioAndMidiKeyInTableOrder) {
  test::TempFolder folder;
  SettingsStore store(folder.Path());
  store.Load();
  EXPECT_EQ(store.Values(), AppSettings{});
  EXPECT_EQ(ReadText(folder.Path() / kSettingsFileName), kDefaultSections);
}

TEST(AppSettings, FirstStartThenRewritesTheMidiNamesAsOff) {
  test::TempFolder folder;
  SettingsStore store(folder.Path());
  store.Load();
  test::FakeMidiTransport transport;
  transport.inputNames = {"QD3 MIDI 1"};
  transport.outputNames = {"QD3 MIDI 1"};
  MidiPorts ports(transport, store);
  ports.Start();
  const std::string text = ReadText(folder.Path() / kSettingsFileName);
  EXPECT_NE(text.find("[midi]\nindev=off\noutdev=off\n"), std::string::npos) << text;
}

TEST(AppSettings, UnknownOutputNameFallsBackToOffAndIsWritten) {
  test::TempFolder folder;
  std::ofstream(folder.Path() / kSettingsFileName) << "[MIDI]\nindev=A\noutdev=X\n";
  SettingsStore store(folder.Path());
  store.Load();
  test::FakeMidiTransport transport;
  transport.inputNames = {"A", "B"};
  transport.outputNames = {"A", "B"};
  MidiPorts ports(transport, store);
  ports.Start();
  EXPECT_EQ(store.Values().midiIn, "A");
  EXPECT_EQ(store.Values().midiOut, "off");
  SettingsFile reread(folder.Path());
  EXPECT_EQ(reread.Read().midiIn, "A");
  EXPECT_EQ(reread.Read().midiOut, "off");
}

TEST(AppSettings, ValuesAreWrittenWithTheirFormats) {
  test::TempFolder folder;
  SettingsFile file(folder.Path());
  AppSettings s;
  s.driver = 1;
  s.buffer = 1024;
  s.sampleRate = 48000;
  s.outChannel = 16;
  ASSERT_TRUE(file.WriteAudioAndMidi(s));
  ASSERT_TRUE(file.WriteScale(0.75));
  const std::string text = ReadText(file.Path());
  for (const char* expected :
       {"driver=1\n", "buffer=1024\n", "sr=48000\n", "outchan=16\n", "[GUI]\nscale=0.750000\n"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
  }
  EXPECT_EQ(file.Read(), [&] {
    AppSettings back = s;
    back.scale = 0.75;
    return back;
  }());
}

struct ScaleCase {
  const char* stored;
  double expected;
};

TEST(AppSettings, ScaleIsReadWithItsDefault) {
  const ScaleCase cases[] = {{nullptr, 0.5}, {"0.75", 0.75}, {"1.000000", 1.0},
                             {"abc", 0.5},   {"-2", 0.5},    {"0", 0.5}};
  for (const ScaleCase& c : cases) {
    test::TempFolder folder;
    if (c.stored) std::ofstream(folder.Path() / kSettingsFileName) << "[gui]\nscale=" << c.stored;
    EXPECT_DOUBLE_EQ(SettingsFile(folder.Path()).Read().scale, c.expected)
        << (c.stored ? c.stored : "missing");
  }
}

TEST(AppSettings, LongDeviceNamesAreCutTo99Characters) {
  test::TempFolder folder;
  std::ofstream(folder.Path() / kSettingsFileName) << "[audio]\noutdev=" << std::string(150, 'x');
  EXPECT_EQ(SettingsFile(folder.Path()).Read().audioOut, std::string(99, 'x'));
}

// Regression: out1=-1 was read as channel 4294967295 and crashed the audio stream's
// opening; other values outside their range went through as well.
TEST(AppSettings, OutOfRangeValuesAreReplacedByTheDefaultAndWrittenBack) {
  struct Case {
    const char* stored;   // the line in its section
    const char* section;  // "audio", "midi" or "GUI"
    const char* written;  // what the file holds after the start, in the section's text
  };
  const Case cases[] = {
      {"driver=2", "audio", "driver=0\n"},      {"driver=-1", "audio", "driver=0\n"},
      {"out1=-1", "audio", "out1=1\n"},         {"in2=0", "audio", "in2=2\n"},
      {"buffer=15", "audio", "buffer=512\n"},   {"buffer=8193", "audio", "buffer=512\n"},
      {"sr=7999", "audio", "sr=44100\n"},       {"sr=192001", "audio", "sr=44100\n"},
      {"inchan=17", "midi", "inchan=0\n"},      {"outchan=-3", "midi", "outchan=0\n"},
      {"scale=3.5", "GUI", "scale=0.500000\n"}, {"scale=0.2", "GUI", "scale=0.500000\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    test::TempFolder folder;
    std::ofstream(folder.Path() / kSettingsFileName) << "[" << c.section << "]\n" << c.stored;
    SettingsStore store(folder.Path());
    store.Load();
    EXPECT_EQ(store.Values(), AppSettings{});
    const std::string text = ReadText(store.File().Path());
    EXPECT_NE(text.find(c.written), std::string::npos) << text;
    EXPECT_EQ(SettingsFile(folder.Path()).Read(), AppSettings{});
  }
}

TEST(AppSettings, ValuesAtTheEdgesOfTheirRangesAreKept) {
  test::TempFolder folder;
  std::ofstream(folder.Path() / kSettingsFileName)
      << "[audio]\ndriver=1\nbuffer=16\nsr=192000\nout1=7\n[midi]\noutchan=16\n[GUI]\n"
         "scale=0.333333\n";
  const AppSettings s = SettingsFile(folder.Path()).Read();
  EXPECT_EQ(s.driver, 1u);
  EXPECT_EQ(s.buffer, 16);
  EXPECT_EQ(s.sampleRate, 192000);
  EXPECT_EQ(s.out1, 7u);
  EXPECT_EQ(s.outChannel, 16u);
  EXPECT_NEAR(s.scale, 1.0 / 3.0, 1e-6);
}

TEST(AppSettings, ChannelsTheChosenDeviceLacksFallBackToTheirDefaults) {
  AudioDeviceChoice choice;
  choice.input = AudioDevice{0, "in", 1, 0, true, false};    // mono input
  choice.output = AudioDevice{1, "out", 0, 4, false, true};  // four outputs
  AppSettings s;
  s.in1 = 1;
  s.in2 = 2;  // the mono device has no channel 2, nor does the default exist: 1
  s.out1 = 4;
  s.out2 = 9;  // default 2
  EXPECT_TRUE(FitChannelsToDevices(choice, s));
  EXPECT_EQ(s.in1, 1u);
  EXPECT_EQ(s.in2, 1u);
  EXPECT_EQ(s.out1, 4u);
  EXPECT_EQ(s.out2, 2u);
  EXPECT_FALSE(FitChannelsToDevices(choice, s));
}

TEST(AppSettings, TransientNamesNeverTouchTheFile) {
  test::TempFolder folder;
  SettingsStore store(folder.Path());
  store.Load();
  const std::string before = ReadText(store.File().Path());
  TransientPortSettings demo("QD3 Simulator", "QD3 Simulator");
  test::FakeMidiTransport transport;
  transport.inputNames = {"other"};
  transport.outputNames = {"other"};
  MidiPorts ports(transport, demo);
  ports.Start();
  EXPECT_EQ(demo.Name(MidiDirection::kOutput), "off");
  EXPECT_EQ(ReadText(store.File().Path()), before);
}

}  // namespace
}  // namespace qd3
