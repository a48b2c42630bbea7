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
  EXPECT_FALSE(result.options->timing.burst);
  EXPECT_EQ(result.options->timing.replyDelay, Micros{0});
  EXPECT_EQ(result.options->timing.jitter, Micros{0});
  EXPECT_EQ(result.options->timing.jitterSeed, 1u);
  EXPECT_EQ(result.options->timing.writeDelay, Micros{0});
}

TEST(SimOptions, SlowAndBurstyPedal) {
  const SimOptionsResult result = Parse(
      {"--burst", "--reply-delay", "5", "--jitter", "2.5", "--seed", "42", "--write-delay", "50"});
  ASSERT_TRUE(result.options) << result.error;
  const WireTiming& t = result.options->timing;
  EXPECT_TRUE(t.burst);
  EXPECT_EQ(t.replyDelay, Micros{5000});
  EXPECT_EQ(t.jitter, Micros{2500});
  EXPECT_EQ(t.jitterSeed, 42u);
  EXPECT_EQ(t.writeDelay, Micros{50000});
  EXPECT_EQ(t.latency, Micros{2000});  // untouched
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
                                         "--damage-ir-chunk",
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
  EXPECT_TRUE(o.faults.damageNextIrChunk);
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
                                           std::vector<std::string_view>{"--reply-delay", "-1"},
                                           std::vector<std::string_view>{"--reply-delay"},
                                           std::vector<std::string_view>{"--jitter", "lots"},
                                           std::vector<std::string_view>{"--jitter", "60001"},
                                           std::vector<std::string_view>{"--seed", "-3"},
                                           std::vector<std::string_view>{"--seed", "1.5"},
                                           std::vector<std::string_view>{"--write-delay", "nan"},
                                           std::vector<std::string_view>{"--burst", "yes"},
                                           std::vector<std::string_view>{"jack"}));

TEST(SimOptions, UsageNamesThePorts) {
  const std::string usage = SimUsage();
  EXPECT_NE(usage.find("QD3 Simulator In:MIDI In"), std::string::npos);
  EXPECT_NE(usage.find("QD3 Simulator Out:MIDI Out"), std::string::npos);
  for (const char* option :
       {"--burst", "--reply-delay MS", "--jitter MS", "--seed N", "--write-delay MS"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
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
