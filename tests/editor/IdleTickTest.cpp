#include "tests/editor/EditorFixture.h"

namespace qd3::test {
namespace {

class RecordingPlatform : public IPlatformServices {
 public:
  EMsgBoxResult ShowMessageBox(const std::string& text, const std::string& caption,
                               EMsgBoxType) override {
    boxes.emplace_back(text, caption);
    return EMsgBoxResult::OK;
  }
  std::string PromptForOpenFile(const std::string&, const std::string&) override { return {}; }
  std::string PromptForSaveFile(const std::string&, const std::string&,
                                const std::string&) override {
    return {};
  }
  bool OpenURL(const std::string&) override { return false; }

  std::vector<std::pair<std::string, std::string>> boxes;
};

TEST_F(EditorTest, ValueDisplayRevertsToThePresetNumberAfter61IdleTicks) {
  OpenWindow();
  Connect();
  Receive(BuildPresetDump(4, std::array<uint8_t, kRecordSize>{}));
  ASSERT_EQ(mEditor.session.currentPreset, 4);
  mEditor.Params()[kParamPatchOffset].Set(1);
  SetRaw(1, 99);
  for (int i = 0; i < 60; ++i) mEditor.OnIdleTick();
  EXPECT_EQ(mScreen.At(1).str, "99");
  mEditor.OnIdleTick();
  EXPECT_EQ(mScreen.At(1).str, "05");
  EXPECT_FALSE(mEditor.valueDisplayHold);
  EXPECT_EQ(mEditor.valueDisplayTicks, 0);
}

TEST_F(EditorTest, PendingMessageIsShownOnceWithAnEmptyCaption) {
  RecordingPlatform platform;
  mEditor.SetPlatformServices(&platform);
  OpenWindow();
  Receive(BuildDeviceInfo(9, "OLD PEDAL"));
  mEditor.OnIdleTick();
  mEditor.OnIdleTick();
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].first, "Please upgrade QD3 to actual version 11.");
  EXPECT_EQ(platform.boxes[0].second, "");
}

TEST_F(EditorTest, PendingMessageWithoutAWindowIsDropped) {
  RecordingPlatform platform;
  mEditor.SetPlatformServices(&platform);
  Receive(BuildDeviceInfo(9, "OLD PEDAL"));
  ASSERT_TRUE(mEditor.session.messagePending);
  mEditor.OnIdleTick();
  EXPECT_FALSE(mEditor.session.messagePending);
  EXPECT_TRUE(platform.boxes.empty());
}

}  // namespace
}  // namespace qd3::test
