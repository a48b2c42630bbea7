// An IR upload the pedal does not confirm, refused or met with silence: the cache keeps
// what the pedal still holds, and a preset-file import waiting on it ends there.
#include <fstream>
#include <optional>

#include "ir/IrImage.h"
#include "ir/WavReader.h"
#include "tests/support/CoreHarness.h"
#include "tests/support/ScriptedPlatformServices.h"
#include "tests/support/WavBytes.h"

namespace qd3::test {
namespace {

enum class Answer { kStores, kRefuses, kSilent };

// A short mono click at 44.1 kHz; `level` tells two of them apart.
Bytes ClickWav(int level) {
  std::vector<int> samples;
  for (int i = 0; i < 800; ++i) samples.push_back(static_cast<int>(level * std::exp(-i / 80.0)));
  return MakeWav(WavLayout{}, Pcm16(samples));
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::optional<Bytes> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Bytes ImageOf(const Bytes& wav, std::string_view fileName) {
  IrWorkingBuffer buffer;
  EXPECT_TRUE(ReadWav(std::span<const uint8_t>(wav), buffer).Ok());
  const IrImageResult made = MakeIrImage(buffer, IrNameFromWavPath(fileName));
  return Bytes(made.image.begin(), made.image.end());
}

void Arm(CoreHarness& h, Answer answer) {
  h.link.Pedal().Modify([answer](sim::PedalModel& m) {
    m.Faults().refuseWrites = answer == Answer::kRefuses ? 1 : 0;
    m.Faults().silent = answer == Answer::kSilent;
  });
}

int CountSent(const CoreHarness& h, size_t from, int command) {
  int n = 0;
  for (size_t i = from; i < h.sent.messages.size(); ++i) {
    n += h.sent.messages[i][kCommandOffset] == command;
  }
  return n;
}

// Regression: the cache file was written before the upload, so a refused or unanswered
// upload left the editor showing and exporting an IR the pedal never took.
TEST(UnconfirmedIrUpload, TheCachedIrChangesOnlyWhenThePedalStoresIt) {
  const struct {
    const char* what;
    Answer answer;
    bool cachedBefore;
  } cases[] = {
      {"stored", Answer::kStores, true},
      {"refused", Answer::kRefuses, true},
      {"unanswered", Answer::kSilent, true},
      {"refused, nothing cached before", Answer::kRefuses, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CoreHarness h;
    ASSERT_TRUE(h.ConnectAndSettle());
    const int target = 40;
    const auto file = *h.editor.Cache()->IrFilePath(target);
    if (c.cachedBefore) {
      const Bytes old = ImageOf(ClickWav(9000), "Old Cab.wav");
      ASSERT_TRUE(Succeeded(h.editor.Cache()->WriteIrImage(target, old)));
    } else {
      std::filesystem::remove(file);
    }
    const std::optional<Bytes> before = ReadBytes(file);
    const auto wav = h.folder.Path() / "New Cab.wav";
    WriteBytes(wav, ClickWav(20000));
    Arm(h, c.answer);

    ASSERT_TRUE(h.editor.LoadWavIntoIr(target, wav.string()));
    h.RunFor(10s);

    if (c.answer == Answer::kStores) {
      EXPECT_EQ(ReadBytes(file), ImageOf(ClickWav(20000), "New Cab.wav"));
    } else {
      EXPECT_EQ(ReadBytes(file), before) << "the cache keeps what the pedal holds";
    }
  }
}

// A preset file with two IR blocks, exported from the connected editor: position 7 uses
// user IR `slot`, position 8 user IR 128 + `slot`.
std::filesystem::path ExportTwoIrPresetFile(CoreHarness& h, ScriptedPlatformServices& platform,
                                            int slot) {
  EXPECT_TRUE(Succeeded(h.editor.Cache()->WriteIrImage(slot, ImageOf(ClickWav(9000), "A.wav"))));
  EXPECT_TRUE(
      Succeeded(h.editor.Cache()->WriteIrImage(128 + slot, ImageOf(ClickWav(5000), "B.wav"))));
  const std::pair<int, int> raws[] = {{kParamIrModeA, 1},     {kParamIrModeB, 1},
                                      {kParamUserIrAHigh, 0}, {kParamUserIrALow, slot},
                                      {kParamUserIrBHigh, 1}, {kParamUserIrBLow, slot}};
  for (const auto& [index, raw] : raws) {
    h.editor.SetParameterValueFromUI(index, h.editor.Params()[index].ToNormalized(raw));
  }
  h.screen.At(70).str = "CAB A";
  h.screen.At(71).str = "CAB B";
  h.RunFor(1s);
  const auto file = h.folder.Path() / "Lead.q3p";
  platform.QueueSaveFileResult(file.string());
  h.editor.ExportPresetFile();
  EXPECT_EQ(std::filesystem::file_size(file), 5134u);
  return file;
}

// Regression: an import whose IR upload was refused or never confirmed kept its flags, so
// the next ordinary WAV load's kCmdIrStored sent the old file's second IR to the pedal and
// stored the current preset unasked.
TEST(UnconfirmedIrUpload, AnImportWhoseIrIsNotStoredEndsThereAndSaysWhatWasStored) {
  const struct {
    const char* what;
    Answer answer;
    bool secondUpload;  // the fault meets position 8's upload, after position 7's stored
    const char* stored;
  } cases[] = {
      {"first refused", Answer::kRefuses, false, "Stored on the QD3: nothing."},
      {"first unanswered", Answer::kSilent, false, "Stored on the QD3: nothing."},
      {"second refused", Answer::kRefuses, true,
       "Stored on the QD3: the IR of position 7 (\"CAB A\")."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CoreHarness h;
    ScriptedPlatformServices platform;
    h.editor.SetPlatformServices(&platform);
    h.OpenWindow({1, 53, 54, 70, 71, 138});
    ASSERT_TRUE(h.ConnectAndSettle());
    const int slot = h.editor.session.currentPreset;
    const auto file = ExportTwoIrPresetFile(h, platform, slot);

    platform.QueueMessageBoxResult(EMsgBoxResult::OK);  // not saved: continue
    platform.QueueMessageBoxResult(EMsgBoxResult::OK);  // overwrite the user IR: continue
    platform.QueueOpenFileResult(file.string());
    if (!c.secondUpload) Arm(h, c.answer);
    const size_t importFrom = h.sent.messages.size();
    h.editor.ImportPresetFile();
    const size_t boxesBefore = platform.CountCalls(ScriptedPlatformServices::ECall::kMessageBox);
    if (c.secondUpload) {
      ASSERT_TRUE(h.RunUntil([&] { return !h.editor.session.importIrAUploading; }, 5s));
      Arm(h, c.answer);
    }
    h.RunFor(10s);

    EXPECT_FALSE(h.editor.session.importIrAUploading);
    EXPECT_FALSE(h.editor.session.importIrBPending);
    EXPECT_EQ(CountSent(h, importFrom, kCmdStorePreset), 0);
    ASSERT_EQ(platform.CountCalls(ScriptedPlatformServices::ECall::kMessageBox), boxesBefore + 1);
    const std::string& box = platform.Calls().back().text;
    EXPECT_NE(box.find("\"Lead\" was stopped"), std::string::npos) << box;
    EXPECT_NE(box.find(c.stored), std::string::npos) << box;
    EXPECT_NE(box.find("(\"CAB B\") and the preset"), std::string::npos) << box;

    // An ordinary WAV load later is one upload and nothing more.
    Arm(h, Answer::kStores);
    ASSERT_TRUE(h.editor.session.connected);
    const auto wav = h.folder.Path() / "Other.wav";
    WriteBytes(wav, ClickWav(20000));
    const size_t loadFrom = h.sent.messages.size();
    ASSERT_TRUE(h.editor.LoadWavIntoIr(40, wav.string()));
    h.RunFor(4s);
    EXPECT_EQ(CountSent(h, loadFrom, kCmdIrBegin), 1);
    EXPECT_EQ(CountSent(h, loadFrom, kCmdStorePreset), 0);
    EXPECT_EQ(ReadBytes(*h.editor.Cache()->IrFilePath(40)), ImageOf(ClickWav(20000), "Other.wav"));
  }
}

}  // namespace
}  // namespace qd3::test
