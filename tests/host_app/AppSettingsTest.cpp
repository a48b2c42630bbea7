#include "host/app/AppSettings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "host/MidiPorts.h"
#include "tests/host_midi/FakeMidiTransport.h"
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
  s.buffer = -1;
  s.sampleRate = 48000;
  s.outChannel = 16;
  ASSERT_TRUE(file.WriteAudioAndMidi(s));
  ASSERT_TRUE(file.WriteScale(0.75));
  const std::string text = ReadText(file.Path());
  for (const char* expected :
       {"driver=1\n", "buffer=-1\n", "sr=48000\n", "outchan=16\n", "[GUI]\nscale=0.750000\n"}) {
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
