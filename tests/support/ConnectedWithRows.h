#pragma once

// A test fixture: the headless editor with a window of the main screen's texts and all
// 128 preset rows, connected to the simulated pedal and settled.

#include <array>

#include "tests/support/CoreHarness.h"

namespace qd3::test {

class ConnectedWithRows : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto& row : mRows) mRowHandles[&row - mRows.data()] = &row;
    mH.OpenWindow({1, 70, 71, 138});
    mH.editor.AttachPresetRows(mRowHandles);
    ASSERT_TRUE(mH.ConnectAndSettle());
  }

  CoreHarness mH;
  std::array<FakeControl, kPresetCount> mRows;
  std::array<IControlHandle*, kPresetCount> mRowHandles{};
};

}  // namespace qd3::test
