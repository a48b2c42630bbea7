// One preset in a file, through the editor and the simulated pedal: exported with 0, 1
// or 2 IR blocks and imported back, the IRs uploaded one after the other before the
// preset is stored; a write that cannot happen says so and leaves nothing behind.
#include <fstream>

#include "ir/IrImage.h"
#include "presets/PresetFile.h"
#include "protocol/MessageBuilders.h"
#include "tests/support/CoreHarness.h"
#include "tests/support/ScriptedPlatformServices.h"

namespace qd3::test {
namespace {

// A user IR image as the editor makes them: a short decaying click.
IrImageBytes MadeImage(std::string_view name, double level) {
  IrWorkingBuffer buffer;
  buffer.samples.fill(0.0);
  for (int i = 0; i < 600; ++i)
    buffer.samples[static_cast<size_t>(i)] = level * std::exp(-i / 60.0);
  std::array<uint8_t, kNameSize> field;
  field.fill(' ');
  std::copy(name.begin(), name.end(), field.begin());
  return MakeIrImage(buffer, field).image;
}

class PresetFileFlow : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    mH.editor.SetPlatformServices(&mPlatform);
    mH.OpenWindow({1, 53, 54, 70, 71, 138});
    ASSERT_TRUE(mH.ConnectAndSettle());
  }
  void SetRaw(int index, int raw) {
    mH.editor.SetParameterValueFromUI(index, mH.editor.Params()[index].ToNormalized(raw));
  }
  sim::IrImage PedalIr(int number) {
    return mH.link.Pedal().Inspect(
        [&](const sim::PedalModel& m) { return m.State().userIrs[static_cast<size_t>(number)]; });
  }

  CoreHarness mH;
  ScriptedPlatformServices mPlatform;
};

TEST_P(PresetFileFlow, ExportThenImportGivesBackTheParametersNamesAndIrs) {
  const int blocks = GetParam();
  const int slot = mH.editor.session.currentPreset;
  const IrImageBytes irA = MadeImage("CAB A", 0.8);
  const IrImageBytes irB = MadeImage("CAB B", 0.5);
  ASSERT_TRUE(Succeeded(mH.editor.Cache()->WriteIrImage(slot, irA)));
  ASSERT_TRUE(Succeeded(mH.editor.Cache()->WriteIrImage(128 + slot, irB)));
  SetRaw(kParamIrModeA, blocks >= 1 ? 1 : 0);
  SetRaw(kParamIrModeB, blocks >= 2 ? 1 : 0);
  SetRaw(kParamUserIrAHigh, 0);
  SetRaw(kParamUserIrALow, slot);
  SetRaw(kParamUserIrBHigh, 1);
  SetRaw(kParamUserIrBLow, slot);
  SetRaw(1, 77);
  mH.screen.At(70).str = "CAB A";
  mH.screen.At(71).str = "CAB B";
  mH.RunFor(1s);

  const auto file = mH.folder.Path() / "Crunch Lead.q3p";
  mPlatform.QueueSaveFileResult(file.string());
  mH.editor.ExportPresetFile();
  const std::size_t sizes[] = {262, 2698, 5134};
  ASSERT_EQ(std::filesystem::file_size(file), sizes[blocks]);
  EXPECT_EQ(mH.screen.At(138).str, "Crunch Lead");
  EXPECT_FALSE(mH.editor.presetModified);

  // Something else on the pedal, then the file back.
  SetRaw(1, 20);
  for (int n : {slot, 128 + slot}) {
    mH.link.Pedal().Modify([&](sim::PedalModel& m) {
      m.State().userIrs[static_cast<size_t>(n)] = sim::EmptyIrImage();
    });
  }
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);  // not saved: continue
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);  // overwrite the user IR: continue
  mPlatform.QueueOpenFileResult(file.string());
  const size_t from = mH.sent.messages.size();
  mH.editor.ImportPresetFile();
  mH.RunFor(8s);

  EXPECT_EQ(mH.editor.Params()[1].Raw(), 77);
  EXPECT_EQ(mH.screen.At(138).str, "Crunch Lead");
  int stores = 0;
  for (size_t i = from; i < mH.sent.messages.size(); ++i) {
    stores += mH.sent.messages[i][kCommandOffset] == kCmdStorePreset;
  }
  EXPECT_EQ(stores, 1) << "the preset is stored once, after its IRs";
  const sim::Record stored = mH.link.Pedal().Inspect(
      [&](const sim::PedalModel& m) { return m.State().presets[static_cast<size_t>(slot)]; });
  EXPECT_EQ(sim::RecordParam(stored, 1), 77);
  // The import rebuilds each image from the block's samples, as a WAV load would: the
  // name and samples come back exactly, the gain as computed from those samples.
  const auto sameIr = [](const IrImageBytes& want, const sim::IrImage& got) {
    const auto gain = [](auto& image) { return static_cast<int16_t>(image[2] | image[3] << 8); };
    return std::equal(want.begin() + kIrFileNameOffset, want.end(),
                      got.begin() + kIrFileNameOffset) &&
           std::abs(gain(want) - gain(got)) <= 2;
  };
  if (blocks >= 1) {
    EXPECT_TRUE(sameIr(irA, PedalIr(slot)));
  }
  if (blocks >= 2) {
    EXPECT_TRUE(sameIr(irB, PedalIr(128 + slot)));
  }
  EXPECT_FALSE(mH.editor.session.importIrAUploading);
  EXPECT_FALSE(mH.editor.session.importIrBPending);
}

INSTANTIATE_TEST_SUITE_P(IrBlocks, PresetFileFlow, ::testing::Values(0, 1, 2));

// A file whose values are applied but which is never stored (its IR data cut short, or IR
// blocks the preset does not use) says so, and sends no store.
TEST_F(PresetFileFlow, AFileThatIsAppliedButNotStoredSaysSo) {
  const int slot = mH.editor.session.currentPreset;
  ASSERT_TRUE(Succeeded(mH.editor.Cache()->WriteIrImage(slot, MadeImage("CAB A", 0.8))));
  SetRaw(kParamIrModeA, 1);
  SetRaw(kParamUserIrAHigh, 0);
  SetRaw(kParamUserIrALow, slot);
  mH.RunFor(1s);
  const auto whole = mH.folder.Path() / "One IR.q3p";
  mPlatform.QueueSaveFileResult(whole.string());
  mH.editor.ExportPresetFile();
  std::ifstream in(whole, std::ios::binary);
  const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(bytes.size(), 2698u);

  Bytes unused = bytes;  // both IR modes 0 in the record, the block still there
  unused[kPresetFileParamsOffset + kParamIrModeA] = 0;
  struct Case {
    const char* name;
    Bytes file;
    const char* says;
  };
  const Case cases[] = {
      {"IR data cut short", Bytes(bytes.begin(), bytes.begin() + 1000), "IR data is incomplete"},
      {"IR block unused", unused, "uses none of the file's IRs"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = mH.folder.Path() / "in.q3p";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(c.file.data()),
               static_cast<std::streamsize>(c.file.size()));
    for (int i = 0; i < 3; ++i) mPlatform.QueueMessageBoxResult(EMsgBoxResult::OK);
    mPlatform.QueueOpenFileResult(path.string());
    mPlatform.ClearCalls();
    const size_t from = mH.sent.messages.size();
    mH.editor.ImportPresetFile();
    mH.RunFor(3s);
    size_t told = 0;
    for (const auto& call : mPlatform.Calls()) {
      told += call.text.find(c.says) != std::string::npos &&
              call.text.find("nothing was stored on the QD3") != std::string::npos;
    }
    EXPECT_EQ(told, 1u);
    for (size_t i = from; i < mH.sent.messages.size(); ++i) {
      EXPECT_NE(mH.sent.messages[i][kCommandOffset], kCmdStorePreset);
    }
  }
}

TEST(PresetFileWrite, AFileThatCannotBeWrittenSaysSoAndLeavesNothing) {
  CoreHarness h;
  ScriptedPlatformServices platform;
  h.editor.SetPlatformServices(&platform);
  h.OpenWindow({1, 138});
  const auto file = h.folder.Path() / "no such folder" / "tone.q3p";
  platform.QueueSaveFileResult(file.string());
  h.editor.presetModified = true;

  h.editor.ExportPresetFile();

  ASSERT_EQ(platform.CountCalls(ScriptedPlatformServices::ECall::kMessageBox), 1u);
  EXPECT_FALSE(platform.Calls().back().text.empty());
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(h.editor.presetModified) << "a failed export is not a save";
}

}  // namespace
}  // namespace qd3::test
