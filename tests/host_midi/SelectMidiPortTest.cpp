#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "host/MidiPorts.h"
#include "tests/host_midi/FakeMidiPortSettings.h"
#include "tests/support/FakeMidiTransport.h"

namespace qd3::test {
namespace {

using namespace std::string_literals;

struct SelectCase {
  const char* what;
  MidiDirection direction;
  std::vector<std::string> ports;
  bool hasObject;
  std::string name;  // stored before the call, as at start-up, and handed to SelectMidiPort
  bool expectResult;
  std::vector<std::string> expectLog;
  std::string expectStored;
  size_t expectSaves;
};

// Names the case instead of dumping its bytes.
void PrintTo(const SelectCase& c, std::ostream* os) {
  *os << c.what;
}

constexpr MidiDirection kIn = MidiDirection::kInput;
constexpr MidiDirection kOut = MidiDirection::kOutput;
const std::vector<std::string> kAB = {"A", "B"};

// clang-format off
const SelectCase kSelectCases[] = {
   // what                                      dir   ports             object name          result log                                           stored        saves
  {"OffClosesAndKeepsOff",                      kIn,  kAB,              true,  "off",        true,  {"close in"},                                 "off",        0},
  {"OffWithBytesAfterItsNulIsOff",              kOut, kAB,              true,  "off\0junk"s, true,  {"close out"},                                "off\0junk"s, 0},
  {"OffIsCaseSensitive",                        kOut, kAB,              true,  "Off",        true,  {"close out"},                                "off",        1},
  {"OffPrefixIsAPortName",                      kIn,  {"A", "offline"}, true,  "offline",    true,  {"close in", "open in 1 as RtMidi Input"},    "offline",    0},
  {"MatchAtPositionTwoOpensIndexOne",           kOut, kAB,              true,  "B",          true,  {"close out", "open out 1 as RtMidi Output"}, "B",          0},
  {"MatchAtPositionOneOpensIndexZero",          kIn,  kAB,              true,  "A",          true,  {"close in", "open in 0 as RtMidi Input"},    "A",          0},
  {"FirstOfTwoEqualNamesWins",                  kIn,  {"P", "P"},       true,  "P",          true,  {"close in", "open in 0 as RtMidi Input"},    "P",          0},
  {"UnknownNameStoresOffAndSavesOnce",          kOut, kAB,              true,  "X",          true,  {"close out"},                                "off",        1},
  {"MatchIsExactNotCaseFolded",                 kIn,  kAB,              true,  "a",          true,  {"close in"},                                 "off",        1},
  {"MatchIsExactNotAPrefix",                    kIn,  kAB,              true,  "A ",         true,  {"close in"},                                 "off",        1},
  {"DefaultNameOnFirstStartStoresOff",          kIn,  {},               true,  "no input",   true,  {"close in"},                                 "off",        1},
  {"NoObjectOffReturnsFalse",                   kIn,  kAB,              false, "off",        false, {},                                           "off",        0},
  {"NoObjectNameReturnsFalseAndFallsBackToOff", kOut, kAB,              false, "A",          false, {},                                           "off",        1},
};
// clang-format on

class SelectMidiPortTest : public testing::TestWithParam<SelectCase> {};

TEST_P(SelectMidiPortTest, FollowsTheFourSteps) {
  const SelectCase& c = GetParam();
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  (c.direction == kIn ? transport.inputNames : transport.outputNames) = c.ports;
  (c.direction == kIn ? transport.hasInput : transport.hasOutput) = c.hasObject;
  settings.SetName(c.direction, c.name);
  MidiPorts ports(transport, settings);

  EXPECT_EQ(ports.SelectMidiPort(c.direction, c.name), c.expectResult);
  EXPECT_EQ(transport.log, c.expectLog);
  EXPECT_EQ(settings.Name(c.direction), c.expectStored);
  ASSERT_EQ(settings.saved.size(), c.expectSaves);
  if (c.expectSaves > 0) {
    const auto& [savedIn, savedOut] = settings.saved.back();
    EXPECT_EQ(c.direction == kIn ? savedIn : savedOut, "off")
        << "the file must be written after the name became off";
  }
}

INSTANTIATE_TEST_SUITE_P(Steps, SelectMidiPortTest, testing::ValuesIn(kSelectCases),
                         [](const testing::TestParamInfo<SelectCase>& param) {
                           return std::string(param.param.what);
                         });

TEST(SelectMidiPort, RefusedOpenReportsFalse) {
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  transport.outputNames = kAB;
  transport.refuseOpen = true;
  MidiPorts ports(transport, settings);

  EXPECT_FALSE(ports.SelectMidiPort(MidiDirection::kOutput, "A"));
  EXPECT_EQ(settings.output, kDefaultMidiOutputName) << "a refused open is not a vanished name";
}

TEST(SelectMidiPort, ReselectingClosesBeforeOpening) {
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  transport.inputNames = kAB;
  MidiPorts ports(transport, settings);

  ASSERT_TRUE(ports.SelectMidiPort(MidiDirection::kInput, "A"));
  ASSERT_TRUE(ports.SelectMidiPort(MidiDirection::kInput, "B"));
  const std::vector<std::string> expected = {"close in", "open in 0 as RtMidi Input", "close in",
                                             "open in 1 as RtMidi Input"};
  EXPECT_EQ(transport.log, expected);
}

TEST(MidiPortLists, OffFirstThenTheTransportsNamesInOrder) {
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  transport.inputNames = {"QD3 MIDI 1", "Keyboard"};
  transport.outputNames = {"Synth", "QD3 MIDI 1", "Thru"};
  MidiPorts ports(transport, settings);

  EXPECT_EQ(ports.PortList(MidiDirection::kInput), std::vector<std::string>{"off"})
      << "before the first probe only off is offered";
  ports.ProbePorts();
  EXPECT_EQ(ports.PortList(MidiDirection::kInput),
            (std::vector<std::string>{"off", "QD3 MIDI 1", "Keyboard"}));
  EXPECT_EQ(ports.PortList(MidiDirection::kOutput),
            (std::vector<std::string>{"off", "Synth", "QD3 MIDI 1", "Thru"}));

  transport.hasOutput = false;
  transport.inputNames.clear();
  ports.ProbePorts();
  EXPECT_EQ(ports.PortList(MidiDirection::kInput), std::vector<std::string>{"off"});
  EXPECT_EQ(ports.PortList(MidiDirection::kOutput), std::vector<std::string>{"off"});
}

TEST(MidiPortsStart, FirstStartClosesBothAndStoresOff) {
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;  // "no input" / "no output"
  transport.inputNames = kAB;
  transport.outputNames = kAB;
  MidiPorts ports(transport, settings);

  ports.Start();
  const std::vector<std::string> expected = {"set callback", "close in", "close out"};
  EXPECT_EQ(transport.log, expected);
  EXPECT_EQ(settings.input, "off");
  EXPECT_EQ(settings.output, "off");
  EXPECT_EQ(settings.saved.size(), 2u) << "one write per direction that fell back";
  EXPECT_EQ(ports.PortList(MidiDirection::kOutput), (std::vector<std::string>{"off", "A", "B"}));
}

TEST(MidiPortsStart, ReopensStoredPortsInputFirst) {
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  settings.input = "B";
  settings.output = "A";
  transport.inputNames = kAB;
  transport.outputNames = kAB;
  MidiPorts ports(transport, settings);

  ports.Start();
  const std::vector<std::string> expected = {"set callback", "close in",
                                             "open in 1 as RtMidi Input", "close out",
                                             "open out 0 as RtMidi Output"};
  EXPECT_EQ(transport.log, expected);
  EXPECT_TRUE(settings.saved.empty());
}

TEST(MidiPortsStart, NoInputObjectInstallsNoCallback) {
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  transport.hasInput = false;
  transport.hasOutput = false;
  MidiPorts ports(transport, settings);

  ports.Start();
  EXPECT_FALSE(transport.HasCallback());
  EXPECT_TRUE(transport.log.empty());
}

}  // namespace
}  // namespace qd3::test
