// The editor's parts alone: the dispatch table's rows, the screen writer and the outbox's
// progress.

#include <gtest/gtest.h>

#include "editor/Dispatcher.h"
#include "editor/Outbox.h"
#include "editor/ScreenWriter.h"
#include "tests/support/FakeScreen.h"
#include "tests/support/ScriptedPlatformServices.h"

namespace qd3 {
namespace {

using Row = Dispatcher::Row;

bool Overlaps(Dispatcher::When a, Dispatcher::When b) {
  using When = Dispatcher::When;
  return a == When::kAlways || b == When::kAlways || a == b;
}

// A row below a row that matches all its messages would never run: adding a reply's
// row must not be silently shadowed by a catch-all above it.
TEST(DispatchTable, NoRowIsShadowedByAnEarlierOne) {
  const auto rows = Dispatcher::Rows();
  for (size_t j = 0; j < rows.size(); ++j) {
    for (size_t i = 0; i < j; ++i) {
      const Row& earlier = rows[i];
      const Row& later = rows[j];
      if (earlier.family != later.family || !Overlaps(earlier.when, later.when)) continue;
      const bool covers =
          earlier.command == Dispatcher::kAnyCommand ||
          (later.command != Dispatcher::kAnyCommand && earlier.command == later.command);
      EXPECT_FALSE(covers && earlier.when == Dispatcher::When::kAlways)
          << "row " << j << " is shadowed by row " << i;
      EXPECT_FALSE(covers && earlier.when == later.when) << "row " << j << " repeats row " << i;
    }
  }
}

TEST(ScreenWriter, WithoutAWindowNothingIsWrittenAndTextsFallBack) {
  ScreenWriter writer;
  writer.SetText(1, "12");
  writer.ShowGroup("maincontrols", false);
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_EQ(writer.Text(1, "none"), "none");
  EXPECT_EQ(writer.Value(1), 0.0);
  EXPECT_FALSE(writer.IsShown(1));
  EXPECT_FALSE(writer.Ask("Are you sure?"));
}

TEST(ScreenWriter, ProgressIsClampedAndRedrawKeepsVisibility) {
  test::FakeScreen screen;
  test::FakeControl& value = screen.Add(kTagProgressValue);
  test::FakeControl& text = screen.Add(kTagProgressText);
  ScreenWriter writer;
  writer.Attach(&screen);
  writer.ShowProgress(1.7);
  EXPECT_EQ(value.value, 1.0);
  EXPECT_EQ(text.str, "100 %");
  writer.ShowProgress(-0.2);
  EXPECT_EQ(text.str, "0 %");

  value.hidden = true;
  const int dirty = value.dirtyCount;
  writer.Redraw(kTagProgressValue);
  EXPECT_TRUE(value.hidden);
  EXPECT_EQ(value.dirtyCount, dirty + 1);
}

// A transfer on each answer reports progress for every message; the bar follows at most
// every 50 ms, shows the first value of a new bar at once and keeps the last one.
TEST(Outbox, ProgressIsRedrawnAtMostEvery50MsAndKeepsItsLastValue) {
  test::FakeScreen screen;
  screen.Add(kTagProgressValue);
  test::FakeControl& text = screen.Add(kTagProgressText);
  ScreenWriter writer;
  writer.Attach(&screen);
  DeviceSession session;
  SessionWatch watch;
  Outbox outbox(session, watch, writer);
  const auto progress = [&](double fraction) { outbox.Apply(TransferStep{}.Progress(fraction)); };

  for (int percent = 0; percent <= 100; ++percent) progress(percent / 100.0);
  EXPECT_EQ(text.strHistory, std::vector<std::string>{"0 %"});
  EXPECT_TRUE(outbox.ProgressWaiting());
  outbox.PassTime(20);
  EXPECT_EQ(text.str, "0 %");
  outbox.PassTime(40);
  EXPECT_EQ(text.str, "100 %");
  EXPECT_FALSE(outbox.ProgressWaiting());

  progress(0.5);  // within 50 ms of the last redraw: it waits...
  EXPECT_EQ(text.str, "100 %");
  TransferStep hide;
  hide.overlay = ProgressOverlay::kHide;
  outbox.Apply(hide);  // ...and is shown as the bar goes
  EXPECT_EQ(text.str, "50 %");
  EXPECT_TRUE(screen.hiddenGroups.count(group::kProgress));
  progress(0.1);  // the next bar starts from its own first value
  EXPECT_EQ(text.str, "10 %");
}

TEST(ScreenWriter, RowsGoWithTheWindow) {
  test::FakeScreen screen;
  test::FakeControl row;
  ScreenWriter writer;
  writer.Attach(&screen);
  ScreenWriter::PresetRows rows{};
  rows[5] = &row;
  writer.AttachRows(rows);
  writer.SetRowText(5, " 05 Lead");
  EXPECT_EQ(row.str, " 05 Lead");
  writer.SetRowText(kPresetCount, "out of range");
  writer.Attach(nullptr);
  writer.Attach(&screen);
  writer.SetRowText(5, " 05 Other");
  EXPECT_EQ(row.str, " 05 Lead");
}

TEST(ScreenWriter, AQuestionIsAnsweredByThePlatform) {
  ScriptedPlatformServices platform;
  ScreenWriter writer;
  writer.SetPlatform(&platform);
  platform.QueueMessageBoxResult(EMsgBoxResult::OK);
  EXPECT_TRUE(writer.Ask("Are you sure?"));
  platform.QueueMessageBoxResult(EMsgBoxResult::Cancel);
  EXPECT_FALSE(writer.Ask("Are you sure?"));
}

}  // namespace
}  // namespace qd3
