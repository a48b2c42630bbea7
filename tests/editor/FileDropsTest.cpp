// Files dropped from the desktop: where each kind goes, what is refused and why, and a
// preset file dropped on another preset's row, which waits for the pedal to change.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "editor/FileDrops.h"
#include "presets/PresetFile.h"
#include "tests/editor/EditorFixture.h"
#include "tests/support/ScriptedPlatformServices.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WavBytes.h"

namespace qd3::test {
namespace {

using Pointed = ScreenWriter::Pointed;
using Call = ScriptedPlatformServices::ECall;

// ---- where a drop lands -------------------------------------------------------------

struct PlaceCase {
  const char* what;
  std::vector<Pointed> underPoint;
  DropSpot spot;
  int slot;
};

class DropPlaceTable : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(DropPlaceTable, TheFirstControlThatIsNoPickerDecides) {
  const DropPlace place = DropPlaceOf(GetParam().underPoint);
  EXPECT_EQ(place.spot, GetParam().spot);
  EXPECT_EQ(place.slot, GetParam().slot);
}

INSTANTIATE_TEST_SUITE_P(
    Places, DropPlaceTable,
    ::testing::Values(
        PlaceCase{"preset row under the list's picker",
                  {{kNoTag, kParamPresetPicker, -1}, {kNoTag, -1, 5}},
                  DropSpot::kPresetRow,
                  5},
        PlaceCase{"position 7's cabinet name under the cabinet picker",
                  {{kNoTag, kParamIrPositionPicker, -1}, {kTagIrNameA, -1, -1}},
                  DropSpot::kUserIrA,
                  -1},
        PlaceCase{
            "position 7's mode switch", {{kNoTag, kParamIrModeA, -1}}, DropSpot::kUserIrA, -1},
        PlaceCase{
            "position 8's gain knob", {{kTagUserIrGainKnobB, 43, -1}}, DropSpot::kUserIrB, -1},
        PlaceCase{"position 8's IMPORT", {{kTagUserIrImportB, -1, -1}}, DropSpot::kUserIrB, -1},
        PlaceCase{"an overlay over a row",
                  {{kNoTag, -1, -1}, {kNoTag, kParamPresetPicker, -1}, {kNoTag, -1, 5}},
                  DropSpot::kNone,
                  -1},
        PlaceCase{"a cabinet row other than 7 or 8",
                  {{kNoTag, kParamIrPositionPicker, -1}, {kTagCabinetRowFirst, -1, -1}},
                  DropSpot::kNone,
                  -1},
        PlaceCase{"nothing", {}, DropSpot::kNone, -1}),
    [](const auto& tc) {
      std::string name = tc.param.what;
      std::replace_if(
          name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
      return name;
    });

// ---- what is accepted where ---------------------------------------------------------

struct JudgeCase {
  std::vector<std::string> paths;
  DropSpot spot;
  DropKind kind;
  const char* refusalHas;  // a refusal names the file
};

class JudgeDropTable : public ::testing::TestWithParam<JudgeCase> {};

TEST_P(JudgeDropTable, EachKindOfFileHasItsOwnPlace) {
  const JudgeCase& c = GetParam();
  const DropVerdict verdict = JudgeDrop(c.paths, {c.spot, c.spot == DropSpot::kPresetRow ? 3 : -1});
  EXPECT_EQ(verdict.kind, c.kind);
  if (c.kind == DropKind::kRefused) {
    EXPECT_NE(verdict.refusal.find(c.refusalHas), std::string::npos) << verdict.refusal;
  } else {
    EXPECT_EQ(verdict.path, c.paths.front());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Verdicts, JudgeDropTable,
    ::testing::Values(
        JudgeCase{{"/home/p/cab.wav"}, DropSpot::kUserIrA, DropKind::kWav, ""},
        JudgeCase{{"/home/p/CAB.WAV"}, DropSpot::kUserIrB, DropKind::kWav, ""},
        JudgeCase{{"/home/p/lead.q3p"}, DropSpot::kPresetRow, DropKind::kPresetFile, ""},
        JudgeCase{{"/home/p/all.q3b"}, DropSpot::kNone, DropKind::kBankFile, ""},
        JudgeCase{{"/home/p/cab.wav"},
                  DropSpot::kPresetRow,
                  DropKind::kRefused,
                  "\"cab.wav\" cannot be dropped here: drop a WAV file on user IR 7 or 8"},
        JudgeCase{{"/home/p/lead.q3p"}, DropSpot::kUserIrA, DropKind::kRefused, "\"lead.q3p\""},
        JudgeCase{{"/home/p/notes.txt"},
                  DropSpot::kPresetRow,
                  DropKind::kRefused,
                  "\"notes.txt\" cannot be dropped here"},
        JudgeCase{{"/home/p/wav"}, DropSpot::kUserIrA, DropKind::kRefused, "\"wav\""},
        JudgeCase{{"/home/p/a.wav", "/home/p/b.wav"},
                  DropSpot::kUserIrA,
                  DropKind::kRefused,
                  "\"a.wav\" and 1 other file were dropped together"},
        JudgeCase{{"/a.q3p", "/b.q3p", "/c.q3p"},
                  DropSpot::kPresetRow,
                  DropKind::kRefused,
                  "\"a.q3p\" and 2 other files"},
        JudgeCase{{"https://example.com/irs/cab.wav"},
                  DropSpot::kUserIrA,
                  DropKind::kRefused,
                  "\"cab.wav\" is not a file on this computer"}));

// ---- through the editor ------------------------------------------------------------

// The screen answers every point with the controls a test puts under it.
class PointingScreen : public FakeScreen {
 public:
  std::vector<ScreenHit> ControlsAt(float, float) override { return under; }
  std::vector<ScreenHit> under;
};

class FileDropTest : public EditorTest {
 protected:
  FileDropTest() {
    mEditor.SetPlatformServices(&mPlatform);
    for (int tag : {1, 70, 71, 138}) mPointing.Add(tag);
    mEditor.AttachScreen(&mPointing);
    std::array<IControlHandle*, kPresetCount> handles{};
    for (size_t i = 0; i < mRows.size(); ++i) handles[i] = &mRows[i];
    mEditor.AttachPresetRows(handles);
  }

  void PointAtRow(int slot) {
    mPointing.under = {{nullptr, kNoTag, kParamPresetPicker},
                       {&mRows[static_cast<size_t>(slot)], kNoTag, -1}};
  }
  void PointAt(int tag) { mPointing.under = {{&mPointing.Add(tag), tag, -1}}; }
  void Drop(const std::filesystem::path& path) { mEditor.DropFiles({path.string()}, 100, 100); }

  // The list numbers slots from 1.
  void NumberFromOne() { mEditor.Params()[kParamPatchOffset].Set(1); }
  // A pedal whose current preset is `slot`, named `name`.
  void ReceiveCurrentPreset(int slot, std::string_view name) {
    std::array<uint8_t, kRecordSize> record{};
    record[0] = 1;
    std::fill_n(record.begin() + kPresetNameOffset, kPresetNameSize, ' ');
    std::copy(name.begin(), name.end(), record.begin() + kPresetNameOffset);
    Receive(BuildPresetDump(slot, record));
  }
  // A values-only preset file with parameter 1 ("Gain") at `gain`.
  std::filesystem::path PresetFile(const std::string& name, int gain) {
    std::array<int, kRecordParamCount> params{};
    for (int i = 0; i < kRecordParamCount; ++i) params[static_cast<size_t>(i)] = Raw(i);
    params[1] = gain;
    const auto bytes = BuildPresetFile({name, params, "", ""}, [](int) { return std::nullopt; });
    return Write(name + ".q3p", bytes);
  }
  std::filesystem::path Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const auto path = mFolder.Path() / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  int Raw(int index) const { return mEditor.Params()[index].Raw(); }
  int Sent(DeviceCommand command, int selector = -1) const {
    return static_cast<int>(
        std::count_if(mSent.messages.begin(), mSent.messages.end(), [&](const Bytes& m) {
          return m.size() > kSelectorOffset && m[kCommandOffset] == static_cast<uint8_t>(command) &&
                 (selector < 0 || m[kSelectorOffset] == selector);
        }));
  }
  // The texts of every box and question shown so far.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& call : mPlatform.Calls()) {
      if (call.kind == Call::kMessageBox) texts.push_back(call.text);
    }
    return texts;
  }
  bool Shown(std::string_view part) const {
    const auto boxes = Boxes();
    return std::any_of(boxes.begin(), boxes.end(),
                       [&](const std::string& t) { return t.find(part) != std::string::npos; });
  }

  ScriptedPlatformServices mPlatform;
  PointingScreen mPointing;
  std::array<FakeControl, kPresetCount> mRows;
  TempFolder mFolder;
};

TEST_F(FileDropTest, APresetFileOnTheCurrentRowAsksForThatSlotAndStoresIt) {
  Connect();
  NumberFromOne();
  ReceiveCurrentPreset(4, "Lead Boost");
  mSent.Clear();
  PointAtRow(4);
  Drop(PresetFile("Crunch", 77));
  EXPECT_TRUE(Shown("Store the preset file \"Crunch\" in slot \""))
      << ::testing::PrintToString(Boxes());
  EXPECT_TRUE(Shown("05 Lead Boost\" of the QD3?")) << ::testing::PrintToString(Boxes());
  EXPECT_EQ(Raw(1), 77);
  EXPECT_EQ(Sent(kCmdStorePreset), 1);
  EXPECT_EQ(Sent(kCmdSelectPreset), 0);
  EXPECT_EQ(mPlatform.CountCalls(Call::kOpenFile), 0u) << "the drop is the file's choice";
}

TEST_F(FileDropTest, APresetFileOnAnotherRowSelectsItFirstAndImportsWhenItArrived) {
  Connect();
  NumberFromOne();
  ReceiveCurrentPreset(4, "Lead Boost");
  mSent.Clear();
  PointAtRow(9);
  Drop(PresetFile("Crunch", 77));
  EXPECT_EQ(Sent(kCmdSelectPreset, 9), 1);
  EXPECT_TRUE(Boxes().empty()) << "nothing is asked before the pedal changed";
  EXPECT_NE(Raw(1), 77);

  ReceiveCurrentPreset(9, "Clean");
  EXPECT_TRUE(Boxes().empty()) << "no question from the pedal's reply";
  mEditor.OnIdleTick();
  EXPECT_TRUE(Shown("10 Clean\" of the QD3?")) << ::testing::PrintToString(Boxes());
  EXPECT_EQ(Raw(1), 77);
  EXPECT_EQ(Sent(kCmdStorePreset), 1);
  EXPECT_EQ(mEditor.session.currentPreset, 9);
}

TEST_F(FileDropTest, APedalThatDoesNotChangeWithinThreeSecondsImportsNothing) {
  Connect();
  NumberFromOne();
  ReceiveCurrentPreset(4, "Lead Boost");
  mSent.Clear();
  PointAtRow(9);
  Drop(PresetFile("Crunch", 77));
  for (int tick = 1; tick < FileDrops::kPresetChangeWaitTicks; ++tick) mEditor.OnDeviceTimer();
  mEditor.OnIdleTick();
  EXPECT_TRUE(Boxes().empty()) << "still waiting after 2.9 s";
  mEditor.OnDeviceTimer();
  mEditor.OnIdleTick();
  EXPECT_TRUE(
      Shown("did not change to preset \"10\" within 3 seconds, so \"Crunch.q3p\" was not "
            "imported"))
      << ::testing::PrintToString(Boxes());
  // A dump of that slot arriving late is an ordinary change of preset.
  ReceiveCurrentPreset(9, "Clean");
  mEditor.OnIdleTick();
  EXPECT_NE(Raw(1), 77);
  EXPECT_EQ(Sent(kCmdStorePreset), 0);
}

TEST_F(FileDropTest, UnsavedEditsAreAskedAboutBeforeThePedalLeavesThePreset) {
  Connect();
  ReceiveCurrentPreset(4, "Lead Boost");
  mSent.Clear();
  mEditor.presetModified = true;
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::Cancel);
  PointAtRow(9);
  Drop(PresetFile("Crunch", 77));
  EXPECT_TRUE(Shown("Current Preset not saved."));
  EXPECT_EQ(Sent(kCmdSelectPreset), 0);
  EXPECT_TRUE(mEditor.presetModified) << "the edits stay";
}

TEST_F(FileDropTest, AFileThePedalWouldRefuseIsRefusedBeforeThePresetChanges) {
  Connect();
  ReceiveCurrentPreset(4, "Lead Boost");
  mSent.Clear();
  PointAtRow(9);
  Drop(Write("bad.q3p", std::vector<uint8_t>(262, 'x')));
  EXPECT_TRUE(Shown("Unknown file format."));
  EXPECT_EQ(Sent(kCmdSelectPreset), 0);
}

TEST_F(FileDropTest, UnconnectedAPresetFileGoesIntoTheEditBufferOnly) {
  PointAtRow(9);
  Drop(PresetFile("Crunch", 77));
  EXPECT_EQ(Raw(1), 77);
  EXPECT_TRUE(mEditor.presetModified);
  EXPECT_EQ(Sent(kCmdSelectPreset), 0);
  EXPECT_EQ(Sent(kCmdStorePreset), 0);
}

TEST_F(FileDropTest, AWavOnPositionSevenLoadsThatPositionsOwnUserIr) {
  SetRaw(kParamIrModeA, 1);
  const auto wav = Write("Tight Cab.wav", MakeWav({}, Bytes(2400, 0x10)));
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);  // replace what the slot may hold
  PointAt(kTagUserIrImportA);
  Drop(wav);
  EXPECT_TRUE(Shown("Replace it with \"Tight Cab.wav\"")) << ::testing::PrintToString(Boxes());
  EXPECT_TRUE(mEditor.session.userIrASelected);
  EXPECT_EQ(mEditor.lastWavPath, wav.string());
  EXPECT_EQ(mPointing.At(kTagIrNameA).str, "Tight Cab");
  EXPECT_EQ(mPlatform.CountCalls(Call::kOpenFile), 0u);
}

TEST_F(FileDropTest, AWavOnAPositionPlayingItsFactoryIrIsRefused) {
  SetRaw(kParamIrModeB, 0);
  PointAt(kTagUserIrImportB);
  Drop(Write("cab.wav", MakeWav({}, Bytes(2400, 0x10))));
  EXPECT_TRUE(Shown("\"cab.wav\" cannot go into position 8 while it plays its factory IR"));
  EXPECT_FALSE(mEditor.session.userIrBSelected);
  EXPECT_TRUE(mEditor.lastWavPath.empty());
}

TEST_F(FileDropTest, ABankFileAnywhereAsksTheBankQuestionAndUsesTheDroppedFile) {
  Connect();
  const auto bank = Write("all.q3b", Bytes(100, 0x00));
  mPointing.under = {};
  Drop(bank);
  ASSERT_FALSE(Boxes().empty());
  EXPECT_EQ(Boxes().front(),
            "This operation will overwrite the current Presets!\nAre you sure to continue?");
  EXPECT_EQ(mEditor.bankFilePath, bank.string());
  EXPECT_EQ(mPlatform.CountCalls(Call::kOpenFile), 0u);
  EXPECT_GE(Boxes().size(), 2u) << "a file that is no bank is refused after the question";
}

TEST_F(FileDropTest, RefusalsNameTheFileAndChangeNothing) {
  Connect();
  ReceiveCurrentPreset(4, "Lead Boost");
  mSent.Clear();
  PointAtRow(9);
  Drop(Write("notes.txt", Bytes(10, 'a')));
  Drop(mFolder.Path() / "gone.q3p");
  mEditor.DropFiles({"sftp://host/lead.q3p"}, 100, 100);
  const auto boxes = Boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_NE(boxes[0].find("\"notes.txt\" cannot be dropped here"), std::string::npos);
  EXPECT_NE(boxes[1].find("\"gone.q3p\" cannot be opened"), std::string::npos);
  EXPECT_NE(boxes[2].find("\"lead.q3p\" is not a file on this computer"), std::string::npos);
  EXPECT_TRUE(mSent.messages.empty());
}

}  // namespace
}  // namespace qd3::test
