#pragma once

#include <gtest/gtest.h>

#include <array>

#include "QD3Control.h"
#include "protocol/DeviceReplies.h"
#include "protocol/MessageBuilders.h"
#include "tests/support/CapturedMessages.h"
#include "tests/support/EditorTestSeam.h"
#include "tests/support/FakeScreen.h"

namespace qd3::test {

using Bytes = std::vector<uint8_t>;

// A headless editor whose outgoing messages are captured.
class EditorTest : public ::testing::Test {
 protected:
  EditorTest() { mEditor.SetDeviceMessageSink(mSent.Sink()); }

  void Receive(const Bytes& m) { mEditor.HandleDeviceMessage(m.data(), m.size()); }
  // As a user edit arrives once the pedal is connected and its values are known: the
  // pedal answered the poll and sent its global settings (the editor's own, so nothing
  // changes). What the handshake sent is cleared, so a test sees only its own traffic.
  void Connect() {
    Receive(BuildDeviceInfo(kFormatVersion, "QD3 TEST PEDAL"));
    Receive(GlobalSettingsAsTheEditorHasThem());
    mSent.Clear();
  }
  Bytes GlobalSettingsAsTheEditorHasThem() const {
    std::array<uint8_t, kRecordSize> data{};
    const ParamCatalogue& p = mEditor.Params();
    for (int i = 0; i < 10; ++i)
      data[static_cast<size_t>(1 + i)] = static_cast<uint8_t>(p[80 + i].Raw());
    if (data[6] > 0) data[6] = 2;  // "EDIT POT DISPLAY MODE" travels as 0 or 2
    for (int i = 0; i < 3; ++i)
      data[static_cast<size_t>(11 + i)] = static_cast<uint8_t>(p[33 + i].Raw());
    data[16] = static_cast<uint8_t>(p[90].Raw());
    return BuildDataBlock(kBlockGlobalSettings, data);
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
  EditorTestSeam mSeam{mEditor};
  CapturedMessages mSent;
  FakeScreen mScreen;
};

}  // namespace qd3::test
