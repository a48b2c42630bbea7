// A cache folder that cannot be written (a full disk, a read-only folder) must not go
// unnoticed: every connection would read all 128 presets again without a word. Tests run
// as root, where permissions stop nothing, so the folders are made regular files.
#include <filesystem>
#include <string>

#include "tests/support/CoreHarness.h"
#include "tests/support/ScriptedPlatformServices.h"
#include "tests/support/TempFolder.h"

namespace qd3::test {
namespace {

using ECall = ScriptedPlatformServices::ECall;

class CacheUnwritable : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"Presets", "User IRs", "Factory IRs"}) {
      WriteBytes(mH.folder.Path() / folder, {0x42});
    }
    mH.OpenWindow({53, 54});
    mH.editor.SetPlatformServices(&mPlatform);
    mH.editor.LoadCacheState();
  }

  // Runs with the idle tick every 20 ms, as the window does, so posted boxes show.
  void RunWithIdle(std::chrono::microseconds duration) {
    for (auto left = duration; left.count() > 0; left -= 20ms) {
      mH.RunFor(20ms);
      mH.editor.OnIdleTick();
    }
  }

  int UnwritableBoxes() const {
    int n = 0;
    for (const auto& call : mPlatform.Calls()) {
      n += call.kind == ECall::kMessageBox &&
           call.text.find("cannot be written") != std::string::npos &&
           call.text.find(mH.folder.Path().string()) != std::string::npos;
    }
    return n;
  }

  CoreHarness mH;
  ScriptedPlatformServices mPlatform;
};

// Regression: with an unwritable cache folder the synchronisation wrote nothing, said
// nothing, and every connection read all 128 presets again.
TEST_F(CacheUnwritable, TheFolderIsNamedOnceAndTheSynchronisationStillEnds) {
  ASSERT_TRUE(mH.Connect());
  RunWithIdle(30s);
  EXPECT_FALSE(mH.editor.session.readAllActive);
  EXPECT_TRUE(mH.editor.session.connected);
  EXPECT_EQ(UnwritableBoxes(), 1);
  // Nothing stored before was touched: the folders are still the files they were.
  EXPECT_TRUE(std::filesystem::is_regular_file(mH.folder.Path() / "Presets"));

  // The next connection reads everything again but does not say it again.
  mH.editor.Reconnect();
  ASSERT_TRUE(mH.Connect());
  RunWithIdle(30s);
  EXPECT_FALSE(mH.editor.session.readAllActive);
  EXPECT_EQ(UnwritableBoxes(), 1);
}

TEST(CacheWritable, AWritableFolderSaysNothing) {
  CoreHarness h;
  ScriptedPlatformServices platform;
  h.OpenWindow({53, 54});
  h.editor.SetPlatformServices(&platform);
  h.editor.LoadCacheState();
  ASSERT_TRUE(h.Connect());
  for (int i = 0; i < 1500; ++i) {
    h.RunFor(20ms);
    h.editor.OnIdleTick();
  }
  EXPECT_FALSE(h.editor.session.readAllActive);
  EXPECT_EQ(platform.CountCalls(ECall::kMessageBox), 0u);
}

}  // namespace
}  // namespace qd3::test
