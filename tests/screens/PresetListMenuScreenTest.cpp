// The preset list's menu on the built screens: a right click on a row, a row dragged
// onto another and rename in place, down to the store messages they send.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "QD3ControlScreenNames.h"
#include "params/DependentValues.h"
#include "presets/StoreRecord.h"
#include "protocol/DeviceReplies.h"
#include "tests/screens/ScreenTestSupport.h"
#include "tests/support/ScriptedPlatformServices.h"
#include "toolkit/controls/IPopupMenuControl.h"
#include "toolkit/controls/ITextEntryControl.h"

namespace qd3::test {
namespace {

PresetRecord Named(const std::string& name) {
  PresetRecord record;
  auto& b = record.Bytes();
  b[0] = 1;
  std::fill(b.begin() + 2, b.begin() + 34, ' ');
  std::copy(name.begin(), name.end(), b.begin() + 2);
  std::fill(b.begin() + 192, b.end(), ' ');
  return record;
}

class PresetListMenuScreen : public ::testing::Test {
 protected:
  PresetListMenuScreen() {
    mS.editor.SetPlatformServices(&mPlatform);
    const Bytes info = BuildDeviceInfo(kFormatVersion, "QD3 TEST PEDAL");
    mS.editor.HandleDeviceMessage(info.data(), info.size());
    for (int slot : {2, 5}) {
      EXPECT_TRUE(Succeeded(mS.editor.Cache()->WritePreset(slot, mRecords[slot == 5].Bytes())));
    }
    mS.sent.Clear();
  }
  static float RowY(int row) {
    return static_cast<float>(kPresetListFirstRowY + kPresetListRowPitch * row + 24);
  }
  void RightClick(int row) {
    IMouseMod right;
    right.R = true;
    mS.host.MouseDown(100.f, RowY(row), right);
    mS.host.MouseUp(100.f, RowY(row), right);
  }
  std::vector<std::string> MenuItems() {
    IPopupMenuControl& menu = mS.graphics.PopupMenu();
    return menu.IsOpen() ? menu.Items() : std::vector<std::string>{};
  }
  void Choose(const std::string& item) {
    IPopupMenuControl& menu = mS.graphics.PopupMenu();
    const auto& items = menu.Items();
    const auto it = std::find(items.begin(), items.end(), item);
    ASSERT_NE(it, items.end()) << item;
    const IRECT r = menu.ItemRECT(static_cast<int>(it - items.begin()));
    mS.host.Click(r.MW(), r.MH());
  }
  std::vector<Bytes> Stores() const {
    std::vector<Bytes> stores;
    for (const Bytes& m : mS.sent.messages) {
      if (m[kCommandOffset] == kCmdStorePreset) stores.push_back(m);
    }
    return stores;
  }

  BuiltScreen mS{1.f};
  ScriptedPlatformServices mPlatform;
  PresetRecord mRecords[2] = {Named("Lead Boost"), Named("Clean Chime")};
};

TEST_F(PresetListMenuScreen, CopyOnOneRowAndPasteOnAnother) {
  RightClick(2);
  EXPECT_EQ(MenuItems(), (std::vector<std::string>{"Copy", "Rename"}));
  Choose("Copy");
  EXPECT_TRUE(mS.sent.messages.empty()) << "a right click selects no preset";
  RightClick(5);
  EXPECT_EQ(MenuItems(), (std::vector<std::string>{"Copy", "Paste", "Rename"}));
  Choose("Paste");
  EXPECT_EQ(Stores(), std::vector<Bytes>{BuildStorePresetMessage(5, mRecords[0])});
  ASSERT_FALSE(mPlatform.Calls().empty());
  EXPECT_EQ(mPlatform.Calls().back().text, "Overwrite 05 \"Clean Chime\" with 02 \"Lead Boost\"?");
}

TEST_F(PresetListMenuScreen, ARowDraggedOntoAnotherOffersCopyAndSwap) {
  mS.host.Drag(100.f, RowY(2), 100.f, RowY(5), 6);
  const std::vector<std::string> items = MenuItems();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].rfind("Copy 02", 0), 0u) << items[0];
  EXPECT_EQ(items[1].rfind("Swap with 02", 0), 0u) << items[1];
  Choose(items[1]);
  EXPECT_EQ(Stores(), (std::vector<Bytes>{BuildStorePresetMessage(2, mRecords[1]),
                                          BuildStorePresetMessage(5, mRecords[0])}));
}

TEST_F(PresetListMenuScreen, RenameTypesOverTheRow) {
  RightClick(5);
  Choose("Rename");
  ITextEntryControl& entry = mS.graphics.TextEntry();
  ASSERT_TRUE(entry.IsActive());
  EXPECT_EQ(entry.GetText(), "Clean Chime");
  EXPECT_EQ(entry.GetRECT().T, static_cast<float>(kPresetListFirstRowY + kPresetListRowPitch * 5));
  IKeyPress key;
  key.vk = kVK_BACK;
  for (int i = 0; i < 5; ++i) mS.graphics.OnKeyDown(0, 0, key);
  for (const char c : std::string("Glass")) {
    IKeyPress typed;
    typed.utf8 = std::string(1, c);
    mS.graphics.OnKeyDown(0, 0, typed);
  }
  key.vk = kVK_RETURN;
  mS.graphics.OnKeyDown(0, 0, key);
  PresetRecord renamed = Named("Clean Glass");
  EXPECT_EQ(Stores(), std::vector<Bytes>{BuildStorePresetMessage(5, renamed)});
}

}  // namespace
}  // namespace qd3::test
