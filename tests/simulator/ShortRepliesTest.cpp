// Every short answer of the pedal, byte for byte, and the messages it must not answer.

#include <gtest/gtest.h>

#include <vector>

#include "tests/simulator/SimTestSupport.h"

namespace qd3::sim::test {
namespace {

struct ShortCase {
  const char* what;
  const char* request;
  std::vector<const char*> replies;
};

void PrintTo(const ShortCase& c, std::ostream* os) {
  *os << c.what;
}

class ShortReplies : public PedalTest, public ::testing::WithParamInterface<ShortCase> {};

TEST_P(ShortReplies, AnswerIsByteExact) {
  const ShortCase& c = GetParam();
  const Replies replies = Send(c.request);
  ASSERT_EQ(replies.size(), c.replies.size()) << c.what << "\n" << mLog;
  for (std::size_t i = 0; i < replies.size(); ++i) {
    EXPECT_EQ(replies[i], Hex(c.replies[i])) << c.what << " reply " << i << "\n" << mLog;
  }
}

constexpr const char* kAck = "F0 00 3F 6B 03 5F F7";
constexpr const char* kResetDone = "F0 00 3F 6B 03 57 F7";
constexpr const char* kDeviceError = "F0 00 3F 6B 03 62 F7";

INSTANTIATE_TEST_SUITE_P(
    Pedal, ShortReplies,
    ::testing::Values(
        // The halves of both user-IR numbers are acknowledged; other edits are not.
        ShortCase{"IR7 high half", "F0 00 3F 6B 03 50 0B 39 00 F7", {kAck}},
        ShortCase{"IR7 low half", "F0 00 3F 6B 03 50 0B 3A 05 F7", {kAck}},
        ShortCase{"IR8 high half", "F0 00 3F 6B 03 50 0B 3B 01 F7", {kAck}},
        ShortCase{"IR8 low half", "F0 00 3F 6B 03 50 0B 3C 05 F7", {kAck}},
        ShortCase{"gain edit", "F0 00 3F 6B 03 50 0B 01 41 F7", {}},
        ShortCase{"preset level edit", "F0 00 3F 6B 03 50 0B 10 20 F7", {}},
        ShortCase{"unused number 17", "F0 00 3F 6B 03 50 0B 11 05 F7", {}},
        ShortCase{"unused number 19", "F0 00 3F 6B 03 50 0B 13 05 F7", {}},
        ShortCase{"unused number 68", "F0 00 3F 6B 03 50 0B 44 05 F7", {}},
        // Resets.
        ShortCase{"reset all", "F0 00 3F 6B 03 56 0B 00 F7", {kResetDone}},
        ShortCase{"reset presets", "F0 00 3F 6B 03 56 0B 01 F7", {kResetDone}},
        ShortCase{"reset settings", "F0 00 3F 6B 03 56 0B 02 F7", {kResetDone}},
        ShortCase{"unknown reset", "F0 00 3F 6B 03 56 0B 03 F7", {}},
        // Notices without an answer.
        ShortCase{"bulk begin", "F0 00 3F 6B 03 5A 0B F7", {}},
        ShortCase{"bulk end", "F0 00 3F 6B 03 5B 0B F7", {}},
        ShortCase{"editor closing", "F0 00 3F 6B 03 5F 0B F7", {}},
        // IRs the pedal does not have.
        ShortCase{"request IR 300", "F0 00 3F 6B 03 69 0B 02 2C F7", {kDeviceError}},
        ShortCase{"request IR 392", "F0 00 3F 6B 03 69 0B 03 08 F7", {kDeviceError}},
        ShortCase{"name group 36", "F0 00 3F 6B 03 6A 0B 24 F7", {}},
        // Blocks that do not exist.
        ShortCase{"request block 4", "F0 00 3F 6B 03 55 0B 04 F7", {}},
        ShortCase{"request block 14", "F0 00 3F 6B 03 55 0B 0E F7", {}},
        // Loader.
        ShortCase{"loader enter", "F0 00 3F 6B 02 10 F7", {"F0 00 3F 6B 02 12 F7"}},
        ShortCase{"loader begin without enter", "F0 00 3F 6B 02 13 00 00 01 F7", {}},
        // Not understood: wrong version byte, length, manufacturer, model or command.
        ShortCase{"version byte 0x0A", "F0 00 3F 6B 03 56 0A 00 F7", {}},
        ShortCase{"reset one byte too long", "F0 00 3F 6B 03 56 0B 00 00 F7", {}},
        ShortCase{"poll one byte short", "F0 00 3F 6B 03 55 0B F7", {}},
        ShortCase{"other manufacturer", "F0 00 3F 6C 03 56 0B 00 F7", {}},
        ShortCase{"model 0x04", "F0 00 3F 6B 04 56 0B 00 F7", {}},
        ShortCase{"pedal-to-editor command", "F0 00 3F 6B 03 57 0B 00 F7", {}},
        ShortCase{"note on", "90 3C 64", {}}, ShortCase{"empty", "", {}}));

TEST_F(PedalTest, IgnoredMessagesAreCountedAndLeaveTheStateAlone) {
  const PedalState before = mPedal.State();
  Send("F0 00 3F 6B 03 50 0B 11 05 F7");
  Send("F0 00 3F 6B 03 56 0A 00 F7");
  Send("F0 00 3F 6B 03 77 F7");
  EXPECT_EQ(mPedal.State(), before);
  EXPECT_EQ(mPedal.Counters().ignored, 3);
  EXPECT_EQ(mPedal.Counters().handled, 0);
}

TEST_F(PedalTest, NoticesAreCountedAndBracketTheBulk) {
  Send("F0 00 3F 6B 03 5A 0B F7");
  EXPECT_TRUE(mPedal.BulkOpen());
  Send("F0 00 3F 6B 03 5B 0B F7");
  EXPECT_FALSE(mPedal.BulkOpen());
  Send("F0 00 3F 6B 03 5F 0B F7");
  EXPECT_EQ(mPedal.Counters().bulkBegins, 1);
  EXPECT_EQ(mPedal.Counters().bulkEnds, 1);
  EXPECT_EQ(mPedal.Counters().editorClosings, 1);
}

struct KnobCase {
  int index;
  int raw;
  const char* echo;  // nullptr: no echo, nothing changes
};

void PrintTo(const KnobCase& c, std::ostream* os) {
  *os << "index " << c.index << " raw " << c.raw;
}

class KnobEcho : public PedalTest, public ::testing::WithParamInterface<KnobCase> {};

TEST_P(KnobEcho, TurningAControlSendsTheCatalogueIndexAndValue) {
  const KnobCase& c = GetParam();
  const PedalState before = mPedal.State();
  const Replies replies = mPedal.TurnKnob(c.index, c.raw);
  if (c.echo == nullptr) {
    EXPECT_TRUE(replies.empty());
    EXPECT_EQ(mPedal.State(), before);
    EXPECT_FALSE(IsPedalControl(c.index) && c.raw >= 0 && c.raw <= 127);
    return;
  }
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0], Hex(c.echo));
}

INSTANTIATE_TEST_SUITE_P(Pedal, KnobEcho,
                         ::testing::Values(KnobCase{1, 100, "F0 00 3F 6B 03 51 0B 01 64 F7"},
                                           KnobCase{64, 0, "F0 00 3F 6B 03 51 0B 40 00 F7"},
                                           // Limited to the parameter's range 2..5.
                                           KnobCase{19, 9, "F0 00 3F 6B 03 51 0B 13 05 F7"},
                                           KnobCase{19, 0, "F0 00 3F 6B 03 51 0B 13 02 F7"},
                                           KnobCase{88, 1, "F0 00 3F 6B 03 51 0B 58 01 F7"},
                                           KnobCase{87, 30, "F0 00 3F 6B 03 51 0B 57 18 F7"},
                                           KnobCase{98, 74, "F0 00 3F 6B 03 51 0B 62 4A F7"},
                                           KnobCase{70, 5, nullptr}, KnobCase{99, 5, nullptr},
                                           KnobCase{1, 128, nullptr}, KnobCase{-1, 5, nullptr}));

TEST_F(PedalTest, KnobTurnsChangeWhatThePedalReportsLater) {
  mPedal.TurnKnob(1, 100);  // gain, in the edit buffer
  mPedal.TurnKnob(88, 1);   // preset protection
  mPedal.TurnKnob(85, 1);   // pot display, stored as 2
  mPedal.TurnKnob(91, 42);  // DRIVE knob controller
  EXPECT_EQ(RecordParam(mPedal.State().editBuffer, 1), 100);
  EXPECT_TRUE(PresetProtectionOn(mPedal.State()));

  const Bytes globals = DataOf(Send("F0 00 3F 6B 03 55 0B 00 F7").at(0));
  EXPECT_EQ(globals.at(9), 1);
  EXPECT_EQ(globals.at(6), 2);
  const Bytes map = DataOf(Send("F0 00 3F 6B 03 55 0B 01 F7").at(0));
  EXPECT_EQ(map.at(0), 42);
}

}  // namespace
}  // namespace qd3::sim::test
