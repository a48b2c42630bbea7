#pragma once

#include <gtest/gtest.h>

#include "QD3Control.h"
#include "tests/support/CapturedMessages.h"
#include "tests/support/FakeScreen.h"

namespace qd3::test {

using Bytes = std::vector<uint8_t>;

// A headless editor whose outgoing messages are captured.
class EditorTest : public ::testing::Test {
 protected:
  EditorTest() { mEditor.SetDeviceMessageSink(mSent.Sink()); }

  // As a user edit arrives once the pedal is connected and its values are known.
  void Connect() {
    mEditor.session.connected = true;
    mEditor.session.applyingDeviceValues = false;
  }
  void SetRaw(int index, int raw) {
    const IParam& p = mEditor.Params()[index];
    mEditor.SetParameterValue(index, p.ToNormalized(raw));
  }
  void OpenWindow() {
    mScreen.Add(1);
    mEditor.AttachScreen(&mScreen);
  }

  QD3Control mEditor;
  CapturedMessages mSent;
  FakeScreen mScreen;
};

}  // namespace qd3::test
