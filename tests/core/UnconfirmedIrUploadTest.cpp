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

}  // namespace
}  // namespace qd3::test
