// Files dropped on the built screens land where the layout puts their targets: the
// user-IR rows of the IR page and the preset list's rows, found through the real controls.
#include <gtest/gtest.h>

#include <fstream>

#include "QD3ControlScreenNames.h"
#include "params/DependentValues.h"
#include "params/PageNumbers.h"
#include "presets/PresetFile.h"
#include "protocol/DeviceMessages.h"
#include "protocol/DeviceReplies.h"
#include "tests/screens/ScreenTestSupport.h"
#include "tests/support/ScriptedPlatformServices.h"
#include "tests/support/WavBytes.h"

namespace qd3::test {
namespace {

class DropTargetsScreen : public ::testing::Test {
 protected:
  DropTargetsScreen() { mS.editor.SetPlatformServices(&mPlatform); }
  void Connect() {
    const Bytes info = BuildDeviceInfo(kFormatVersion, "QD3 TEST PEDAL");
    mS.editor.HandleDeviceMessage(info.data(), info.size());
    mS.sent.Clear();
  }
  std::filesystem::path Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const auto path = mS.folder.Path() / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  void DropAtCentreOf(int tag, const std::filesystem::path& path) {
    const IRECT& r = mS.Tagged(tag).GetRECT();
    mS.editor.DropFiles({path.string()}, r.MW(), r.MH());
  }
  int Selects(int slot) const {
    int n = 0;
    for (const auto& m : mS.sent.messages) {
      n += m.size() > kSelectorOffset && m[kCommandOffset] == kCmdSelectPreset &&
           m[kSelectorOffset] == slot;
    }
    return n;
  }
  bool Shown(std::string_view part) const {
    for (const auto& call : mPlatform.Calls()) {
      if (call.text.find(part) != std::string::npos) return true;
    }
    return false;
  }

  BuiltScreen mS{0.5f};
  ScriptedPlatformServices mPlatform;
};

TEST_F(DropTargetsScreen, AWavOnEitherUserIrImportButtonLoadsThatPosition) {
  mS.editor.ShowPage(kPageIr);
  const IParam& modeB = mS.editor.Params()[kParamIrModeB];
  mS.editor.SetParameterValue(kParamIrModeB, modeB.ToNormalized(1));
  const auto wav = Write("Cab.wav", MakeWav({}, Bytes(2400, 0x10)));
  DropAtCentreOf(kTagUserIrImportB, wav);
  EXPECT_TRUE(mS.editor.session.userIrBSelected);
  EXPECT_EQ(mS.editor.lastWavPath, wav.string());
}

TEST_F(DropTargetsScreen, AWavOnTheCabinetListsRowSevenLoadsPositionSeven) {
  mS.editor.ShowPage(kPageIr);
  mS.editor.SetParameterValue(kParamIrModeA, mS.editor.Params()[kParamIrModeA].ToNormalized(1));
  const auto wav = Write("Cab.wav", MakeWav({}, Bytes(2400, 0x10)));
  // Under the cabinet picker, which lets the row's name speak.
  DropAtCentreOf(kTagIrNameA, wav);
  EXPECT_TRUE(mS.editor.session.userIrASelected);
}

TEST_F(DropTargetsScreen, APresetFileOnARowSelectsThatRowsPreset) {
  Connect();
  std::array<int, kRecordParamCount> params{};
  for (int i = 0; i < kRecordParamCount; ++i)
    params[static_cast<size_t>(i)] = mS.editor.Params()[i].Raw();
  const auto file = Write(
      "Crunch.q3p", BuildPresetFile({"Crunch", params, "", ""}, [](int) { return std::nullopt; }));
  const float rowMiddle = kPresetListFirstRowY + kPresetListRowPitch * 6.5f;
  mS.editor.DropFiles({file.string()}, 100.f, rowMiddle);
  EXPECT_EQ(Selects(6), 1);
}

TEST_F(DropTargetsScreen, AWavOnThePedalFaceIsRefusedByName) {
  const auto wav = Write("Cab.wav", MakeWav({}, Bytes(2400, 0x10)));
  DropAtCentreOf(kTagValueDisplay, wav);
  EXPECT_TRUE(Shown("\"Cab.wav\" cannot be dropped here"));
  EXPECT_FALSE(mS.editor.session.userIrASelected || mS.editor.session.userIrBSelected);
}

}  // namespace
}  // namespace qd3::test
