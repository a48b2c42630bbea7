// Copy, paste, swap and rename of whole slots: the one question naming the slots, the
// store messages, the cache files and the list, and undo writing the old records back.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "presets/StoreRecord.h"
#include "tests/editor/EditorFixture.h"
#include "tests/support/ScriptedPlatformServices.h"
#include "tests/support/TempFolder.h"

namespace qd3::test {
namespace {

using Call = ScriptedPlatformServices::ECall;

PresetRecord Named(const std::string& name, int fill) {
  PresetRecord record;
  auto& b = record.Bytes();
  b[0] = 1;
  std::fill(b.begin() + 2, b.begin() + 34, ' ');
  std::copy(name.begin(), name.end(), b.begin() + 2);
  for (int i = 0; i < 65; ++i) record.SetParam(i, static_cast<uint8_t>(fill));
  std::fill(b.begin() + 192, b.end(), ' ');
  return record;
}

class SlotOperationsTest : public EditorTest {
 protected:
  SlotOperationsTest() {
    mEditor.SetPlatformServices(&mPlatform);
    mEditor.OpenCache(mFolder.Path());
    OpenWindow();
    Connect();
    mLead = Named("Lead Boost", 10);
    // The lead preset plays user IR 77 in position 7.
    mLead.SetParam(40, 1);
    mLead.SetParam(53, 0);
    mLead.SetParam(54, 77);
    std::fill(mLead.Bytes().begin() + 192, mLead.Bytes().begin() + 224, 'G');
    mClean = Named("Clean Chime", 20);
    Cache(5, mLead);
    Cache(12, mClean);
    // The pedal's current preset is another one.
    const PresetRecord other = Named("Other", 30);
    Cache(0, other);
    Receive(BuildPresetDump(0, other.Bytes()));
    mSent.Clear();
    mPlatform.ClearCalls();
  }
  void Cache(int slot, const PresetRecord& record) {
    ASSERT_TRUE(Succeeded(mEditor.Cache()->WritePreset(slot, record.Bytes())));
  }
  PresetRecord Cached(int slot) { return *mEditor.Cache()->ReadPreset(slot); }
  std::vector<std::string> Texts(Call kind) const {
    std::vector<std::string> texts;
    for (const auto& call : mPlatform.Calls()) {
      if (call.kind == kind) texts.push_back(call.text);
    }
    return texts;
  }

  TempFolder mFolder;
  ScriptedPlatformServices mPlatform;
  PresetRecord mLead;
  PresetRecord mClean;
};

TEST_F(SlotOperationsTest, PasteAsksNamingBothSlotsAndWritesTheRecordWithItsIrReference) {
  ASSERT_TRUE(mEditor.Slots().Copy(5));
  mEditor.Slots().Paste(12);
  EXPECT_EQ(Texts(Call::kMessageBox),
            std::vector<std::string>{"Overwrite 12 \"Clean Chime\" with 05 \"Lead Boost\"?"});
  EXPECT_EQ(mSent.messages, std::vector<Bytes>{BuildStorePresetMessage(12, mLead)});
  EXPECT_EQ(Cached(12).Bytes(), mLead.Bytes()) << "user IR 77 and its name went along";
  EXPECT_NE(mEditor.PresetRowLabel(12).find("Lead Boost"), std::string::npos);

  EXPECT_EQ(mEditor.EditMenuText(false), "Undo store into 12");
  mSent.Clear();
  mEditor.OnMenuCommand(kEditorCmdUndo);
  EXPECT_EQ(mSent.messages, std::vector<Bytes>{BuildStorePresetMessage(12, mClean)});
  EXPECT_EQ(Cached(12).Bytes(), mClean.Bytes());
}

TEST_F(SlotOperationsTest, ADraggedRowIsWhatItsSlotHoldsNowAndPasteWhatWasCopied) {
  mEditor.Slots().Copy(5);
  const PresetRecord newer = Named("Lead Boost II", 11);
  Cache(5, newer);  // stored again since the copy
  mEditor.Slots().CopyInto(5, 12);
  EXPECT_EQ(mSent.messages, std::vector<Bytes>{BuildStorePresetMessage(12, newer)});
  mSent.Clear();
  mEditor.Slots().Paste(40);
  mEditor.Slots().Paste(12);
  EXPECT_EQ(mSent.messages, std::vector<Bytes>{BuildStorePresetMessage(12, mLead)})
      << "nothing over slot 40, never read; the copy over 12";
}

TEST_F(SlotOperationsTest, SwappingTheEditedCurrentPresetSwapsTheEditsTheyChoseToStore) {
  mEditor.SetParameterValue(kParamDrive, mEditor.Params()[kParamDrive].ToNormalized(99));
  ASSERT_TRUE(mEditor.presetModified);
  // Yes to the swap, then Store to the unsaved edits.
  mEditor.Slots().Swap(0, 5);
  const auto stores = [this] {
    std::vector<Bytes> found;
    for (const Bytes& m : mSent.messages) {
      if (m[kCommandOffset] == kCmdStorePreset) found.push_back(m);
    }
    return found;
  }();
  ASSERT_EQ(stores.size(), 3u) << "the edits, then the two of the swap";
  EXPECT_EQ(stores[0][7], 0);
  EXPECT_EQ(stores[2][7], 5);
  EXPECT_EQ(stores[2][8 + 34 + kParamDrive], 99) << "slot 5 has the stored edits";
  EXPECT_EQ(stores[1], BuildStorePresetMessage(0, mLead));
}

TEST_F(SlotOperationsTest, ANoToTheQuestionWritesNothing) {
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::Cancel);
  mEditor.Slots().CopyInto(5, 12);
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::Cancel);
  mEditor.Slots().Swap(5, 12);
  EXPECT_TRUE(mSent.messages.empty());
  EXPECT_EQ(Cached(12).Bytes(), mClean.Bytes());
  EXPECT_EQ(mEditor.History().UndoCount(), 0u);
}

TEST_F(SlotOperationsTest, SwapIsOneStepOfTwoStoresAndUndoWritesBothBack) {
  mEditor.Slots().Swap(5, 12);
  EXPECT_EQ(Texts(Call::kMessageBox),
            std::vector<std::string>{"Swap 05 \"Lead Boost\" and 12 \"Clean Chime\"?"});
  EXPECT_EQ(mSent.messages, (std::vector<Bytes>{BuildStorePresetMessage(5, mClean),
                                                BuildStorePresetMessage(12, mLead)}));
  EXPECT_EQ(Cached(5).Bytes(), mClean.Bytes());
  EXPECT_EQ(Cached(12).Bytes(), mLead.Bytes());
  EXPECT_EQ(mEditor.EditMenuText(false), "Undo swap of 05 and 12");
  mSent.Clear();
  mEditor.OnMenuCommand(kEditorCmdUndo);
  EXPECT_EQ(mSent.messages, (std::vector<Bytes>{BuildStorePresetMessage(12, mClean),
                                                BuildStorePresetMessage(5, mLead)}));
  EXPECT_EQ(Cached(5).Bytes(), mLead.Bytes());
  mSent.Clear();
  mEditor.OnMenuCommand(kEditorCmdRedo);
  EXPECT_EQ(mSent.messages.size(), 2u);
  EXPECT_EQ(Cached(12).Bytes(), mLead.Bytes());
}

TEST_F(SlotOperationsTest, RenameOfAnotherSlotStoresItsRecordWithTheNewName) {
  mEditor.Slots().Rename(12, "Glass Chime");
  PresetRecord renamed = mClean;
  std::fill(renamed.Bytes().begin() + 2, renamed.Bytes().begin() + 34, ' ');
  const std::string name = "Glass Chime";
  std::copy(name.begin(), name.end(), renamed.Bytes().begin() + 2);
  EXPECT_EQ(mSent.messages, std::vector<Bytes>{BuildStorePresetMessage(12, renamed)});
  EXPECT_NE(mEditor.PresetRowLabel(12).find("Glass Chime"), std::string::npos);
}

TEST_F(SlotOperationsTest, PastingOverTheCurrentPresetLoadsItIntoTheEditor) {
  mEditor.Slots().Copy(5);
  mEditor.Slots().Paste(0);
  // The store, then the request for user IR 77, which the cache lacks.
  ASSERT_FALSE(mSent.messages.empty());
  EXPECT_EQ(mSent.messages[0], BuildStorePresetMessage(0, mLead));
  EXPECT_EQ(mEditor.Params()[kParamDrive].Raw(), 10) << "the pedal plays the pasted preset";
  EXPECT_FALSE(mEditor.presetModified);
}

TEST_F(SlotOperationsTest, WhatCannotBeWrittenIsSaidAndNothingIsSent) {
  struct Case {
    const char* what;
    std::function<void()> act;
    std::string box;
  };
  const Case cases[] = {
      {"a slot never read", [this] { mEditor.Slots().CopyInto(40, 12); },
       "Preset 40 has not been read from the QD3 yet; wait for the list to be synchronised."},
      {"no pedal",
       [this] {
         mEditor.session.connected = false;
         mEditor.Slots().Swap(5, 12);
         mEditor.session.connected = true;
       },
       "The QD3 is not connected: copying, swapping and renaming presets write to the pedal."},
      {"a transfer running",
       [this] {
         mEditor.session.saveAwaiting = true;
         mEditor.Slots().CopyInto(5, 12);
         mEditor.session.saveAwaiting = false;
       },
       "Wait until the transfer with the QD3 has finished, then try again."},
  };
  for (const Case& c : cases) {
    mPlatform.ClearCalls();
    c.act();
    EXPECT_EQ(Texts(Call::kMessageBox), std::vector<std::string>{c.box}) << c.what;
    EXPECT_TRUE(mSent.messages.empty()) << c.what;
  }
}

}  // namespace
}  // namespace qd3::test
