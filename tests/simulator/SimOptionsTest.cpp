// qd3-sim's command line and console commands.

#include <gtest/gtest.h>

#include <vector>

#include "simulator/SimOptions.h"

namespace qd3::sim::test {
namespace {

SimOptionsResult Parse(std::vector<std::string_view> args) {
  return ParseSimOptions(args);
}

TEST(SimOptions, DefaultsWithoutArguments) {
  const SimOptionsResult result = Parse({});
  ASSERT_TRUE(result.options) << result.error;
  EXPECT_EQ(result.options->api, MidiApiChoice::kAlsa);
  EXPECT_EQ(result.options->clientName, "QD3 Simulator");
  EXPECT_TRUE(result.options->statePath.empty());
  EXPECT_FALSE(result.options->firmwareVersion);
  EXPECT_EQ(result.options->timing.latency, Micros{2000});
  EXPECT_EQ(result.options->timing.bytesPerSecond, 48000.0);
  EXPECT_FALSE(result.options->log);
  EXPECT_FALSE(result.options->help);
}

TEST(SimOptions, EveryOption) {
  const SimOptionsResult result = Parse({"--api",
                                         "jack",
                                         "--client",
                                         "Pedal B",
                                         "--state",
                                         "/tmp/x.state",
                                         "--version",
                                         "12",
                                         "--serial",
                                         "ABC 123",
                                         "--latency-ms",
                                         "0.5",
                                         "--byte-rate",
                                         "3125",
                                         "--log",
                                         "--drop",
                                         "3",
                                         "--corrupt-next",
                                         "--refuse-writes",
                                         "2",
                                         "--report-version",
                                         "120",
                                         "--silent",
                                         "--fail-firmware"});
  ASSERT_TRUE(result.options) << result.error;
  const SimOptions& o = *result.options;
  EXPECT_EQ(o.api, MidiApiChoice::kJack);
  EXPECT_EQ(o.clientName, "Pedal B");
  EXPECT_EQ(o.statePath, "/tmp/x.state");
  EXPECT_EQ(o.firmwareVersion, 12);
  EXPECT_EQ(o.serial, "ABC 123");
  EXPECT_EQ(o.timing.latency, Micros{500});
  EXPECT_EQ(o.timing.bytesPerSecond, 3125.0);
  EXPECT_TRUE(o.log);
  EXPECT_EQ(o.faults.dropReplies, 3);
  EXPECT_TRUE(o.faults.corruptNextChecksum);
  EXPECT_EQ(o.faults.refuseWrites, 2);
  EXPECT_EQ(o.faults.reportedVersion, 120);
  EXPECT_TRUE(o.faults.silent);
  EXPECT_TRUE(o.faults.failFirmwareCheck);
}

class BadOption : public ::testing::TestWithParam<std::vector<std::string_view>> {};

TEST_P(BadOption, IsRefusedWithAReason) {
  const SimOptionsResult result = Parse(GetParam());
  EXPECT_FALSE(result.options);
  EXPECT_FALSE(result.error.empty());
}

INSTANTIATE_TEST_SUITE_P(SimOptions, BadOption,
                         ::testing::Values(std::vector<std::string_view>{"--api", "coreaudio"},
                                           std::vector<std::string_view>{"--api"},
                                           std::vector<std::string_view>{"--version", "128"},
                                           std::vector<std::string_view>{"--version", "-1"},
                                           std::vector<std::string_view>{"--version", "11x"},
                                           std::vector<std::string_view>{
                                               "--serial", "123456789012345678901234567890123"},
                                           std::vector<std::string_view>{"--serial", "caf\xC3\xA9"},
                                           std::vector<std::string_view>{"--latency-ms", "-1"},
                                           std::vector<std::string_view>{"--latency-ms", "soon"},
                                           std::vector<std::string_view>{"--byte-rate", "-5"},
                                           std::vector<std::string_view>{"--drop", "many"},
                                           std::vector<std::string_view>{"--state", ""},
                                           std::vector<std::string_view>{"--frobnicate"},
                                           std::vector<std::string_view>{"jack"}));

TEST(SimOptions, UsageNamesThePorts) {
  const std::string usage = SimUsage();
  EXPECT_NE(usage.find("QD3 Simulator In:MIDI In"), std::string::npos);
  EXPECT_NE(usage.find("QD3 Simulator Out:MIDI Out"), std::string::npos);
}

TEST(ConsoleCommands, Parse) {
  const auto knob = ParseConsoleCommand("knob 1 100");
  ASSERT_TRUE(knob);
  EXPECT_EQ(knob->kind, ConsoleCommand::Kind::kKnob);
  EXPECT_EQ(knob->index, 1);
  EXPECT_EQ(knob->raw, 100);
  EXPECT_EQ(ParseConsoleCommand("  save ")->kind, ConsoleCommand::Kind::kSave);
  EXPECT_EQ(ParseConsoleCommand("quit")->kind, ConsoleCommand::Kind::kQuit);
  EXPECT_FALSE(ParseConsoleCommand("knob 1"));
  EXPECT_FALSE(ParseConsoleCommand("knob 1 128"));
  EXPECT_FALSE(ParseConsoleCommand("knob x 1"));
  EXPECT_FALSE(ParseConsoleCommand(""));
  EXPECT_FALSE(ParseConsoleCommand("dance"));
}

}  // namespace
}  // namespace qd3::sim::test
