#pragma once

#include <gtest/gtest.h>

#include "CapturedMessages.h"
#include "FakeScreen.h"
#include "QD3Control.h"

namespace qd3::test {

using Bytes = std::vector<uint8_t>;

// A headless editor whose outgoing messages are captured.
class EditorTest : public ::testing::Test {
 protected:
  EditorTest() { editor.SetDeviceMessageSink(sent.Sink()); }

  // As a user edit arrives once the pedal is connected and its values are known.
  void Connect() {
    editor.session.connected = true;
    editor.session.applyingDeviceValues = false;
  }
  void SetRaw(int index, int raw) {
    const IParam& p = editor.Params()[index];
    editor.SetParameterValue(index, p.ToNormalized(raw));
  }
  void OpenWindow() {
    screen.Add(1);
    editor.AttachScreen(&screen);
  }

  QD3Control editor;
  CapturedMessages sent;
  FakeScreen screen;
};

}  // namespace qd3::test
