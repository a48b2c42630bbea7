#include "EditorFixture.h"

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
  editor.session.currentPreset = 4;
  editor.Params()[kParamPatchOffset].Set(1);
  SetRaw(1, 99);
  for (int i = 0; i < 60; ++i) editor.OnIdleTick();
  EXPECT_EQ(screen.At(1).str, "99");
  editor.OnIdleTick();
  EXPECT_EQ(screen.At(1).str, "05");
  EXPECT_FALSE(editor.valueDisplayHold);
  EXPECT_EQ(editor.valueDisplayTicks, 0);
}

TEST_F(EditorTest, PendingMessageIsShownOnceWithAnEmptyCaption) {
  RecordingPlatform platform;
  editor.SetPlatformServices(&platform);
  OpenWindow();
  editor.session.pendingMessage = "Please upgrade QD3 to actual version 11.";
  editor.session.messagePending = true;
  editor.OnIdleTick();
  editor.OnIdleTick();
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].first, "Please upgrade QD3 to actual version 11.");
  EXPECT_EQ(platform.boxes[0].second, "");
}

TEST_F(EditorTest, PendingMessageWithoutAWindowIsDropped) {
  RecordingPlatform platform;
  editor.SetPlatformServices(&platform);
  editor.session.messagePending = true;
  editor.OnIdleTick();
  EXPECT_FALSE(editor.session.messagePending);
  EXPECT_TRUE(platform.boxes.empty());
}

}  // namespace
}  // namespace qd3::test
