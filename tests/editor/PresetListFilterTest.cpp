// The filter over the preset list: only the rows whose number or name holds the text,
// from the top; the keys, the picker and Return act on the rows listed.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "params/DependentValues.h"
#include "tests/editor/EditorFixture.h"

namespace qd3::test {
namespace {

class PresetListFilterTest : public EditorTest {
 protected:
  PresetListFilterTest() {
    OpenWindow();
    for (size_t i = 0; i < mRows.size(); ++i) mHandles[i] = &mRows[i];
    mEditor.AttachPresetRows(mHandles);
    Connect();
    for (const auto& [slot, name] : {std::pair{5, "Lead Boost"},
                                     {12, "Clean Chime"},
                                     {40, "LEAD crunch"},
                                     {112, "Ambient Pad"}}) {
      Name(slot, name);
    }
    mSent.Clear();
  }
  // The pedal's dump of `slot`, named: the editor labels its row.
  void Name(int slot, const std::string& name) {
    std::array<uint8_t, 256> record{};
    record[0] = 1;
    std::fill(record.begin() + 2, record.begin() + 34, ' ');
    std::copy(name.begin(), name.end(), record.begin() + 2);
    std::fill(record.begin() + 192, record.end(), ' ');
    Receive(BuildPresetDump(slot, record));
  }
  // The slots whose rows are shown, top to bottom.
  std::vector<int> Listed() const {
    std::vector<std::pair<float, int>> shown;
    for (int slot = 0; slot < kPresetCount; ++slot) {
      const FakeControl& row = mRows[static_cast<size_t>(slot)];
      if (!row.hidden && row.y >= static_cast<float>(kPresetListFirstRowY)) {
        shown.emplace_back(row.y, slot);
      }
    }
    std::sort(shown.begin(), shown.end());
    std::vector<int> slots;
    for (const auto& entry : shown) slots.push_back(entry.second);
    return slots;
  }
  float RowY(int slot) const { return mRows[static_cast<size_t>(slot)].y; }

  std::array<FakeControl, kPresetCount> mRows;
  std::array<IControlHandle*, kPresetCount> mHandles{};
};

TEST_F(PresetListFilterTest, OnlyTheMatchingRowsAreListedFromTheTop) {
  struct Case {
    const char* text;
    std::vector<int> listed;
  };
  const Case cases[] = {
      {"lead", {5, 40}},  // any case
      {"LEAD C", {40}},   // spaces count
      {"12", {12, 112}},  // the number as the row shows it
      {"nothing", {}},    //
  };
  for (const Case& c : cases) {
    mEditor.FilterPresetList(c.text);
    EXPECT_EQ(Listed(), c.listed) << c.text;
    if (!c.listed.empty()) {
      EXPECT_EQ(RowY(c.listed[0]), static_cast<float>(kPresetListFirstRowY)) << c.text;
    }
  }
  mEditor.FilterPresetList("");
  const std::vector<int> all = Listed();
  ASSERT_GE(all.size(), static_cast<size_t>(kPresetListVisibleRows));
  EXPECT_EQ(all.front(), 0);
}

TEST_F(PresetListFilterTest, KeysPickerAndReturnActOnTheRowsListed) {
  mEditor.FilterPresetList("lead");
  mEditor.PickFirstListedPreset();  // Return in the field
  EXPECT_EQ(mSent.messages, std::vector<Bytes>{BuildSelectPreset(5)});
  mSent.Clear();

  mEditor.session.highlightedPreset = 5;
  EXPECT_TRUE(mEditor.OnEditorKey(EditorKey::kListDown));
  EXPECT_EQ(mEditor.session.highlightedPreset, 40) << "the slots between are not listed";
  EXPECT_TRUE(mEditor.OnEditorKey(EditorKey::kListDown));
  EXPECT_EQ(mEditor.session.highlightedPreset, 40);
  EXPECT_TRUE(mEditor.OnEditorKey(EditorKey::kListPick));
  EXPECT_EQ(mSent.messages, std::vector<Bytes>{BuildSelectPreset(40)});
  mSent.Clear();

  // A click on the second row listed.
  mEditor.SetPresetPickerPressed(true);
  mEditor.SetParameterValueFromUI(kParamPresetPicker,
                                  mEditor.Params()[kParamPresetPicker].ToNormalized(0));
  mEditor.SetParameterValueFromUI(kParamPresetPicker,
                                  mEditor.Params()[kParamPresetPicker].ToNormalized(1));
  ASSERT_FALSE(mSent.messages.empty());
  EXPECT_EQ(mSent.messages.back(), BuildSelectPreset(40));
  mSent.Clear();
  mEditor.SetParameterValueFromUI(kParamPresetPicker,
                                  mEditor.Params()[kParamPresetPicker].ToNormalized(5));
  EXPECT_TRUE(mSent.messages.empty()) << "a row below the last one listed is empty";
}

TEST_F(PresetListFilterTest, ARenamedPresetJoinsOrLeavesTheFilteredList) {
  mEditor.FilterPresetList("lead");
  Name(7, "Lead Seven");
  EXPECT_EQ(Listed(), (std::vector<int>{5, 7, 40}));
  Name(5, "Rhythm");
  EXPECT_EQ(Listed(), (std::vector<int>{7, 40}));
}

TEST_F(PresetListFilterTest, NothingListedLeavesTheKeysHarmless) {
  mEditor.FilterPresetList("zzz");
  for (EditorKey key : {EditorKey::kListDown, EditorKey::kListLast, EditorKey::kListPick}) {
    EXPECT_TRUE(mEditor.OnEditorKey(key));
  }
  mEditor.PickFirstListedPreset();
  EXPECT_TRUE(mSent.messages.empty());
}

}  // namespace
}  // namespace qd3::test
