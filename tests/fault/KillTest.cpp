// Crash consistency: an editor process (a forked child running the editor object with
// the simulated pedal, writing the real cache and bank files through the real code) is
// killed with SIGKILL at seeded random moments of a synchronisation and of a bank export
// to disk. Afterwards every cache file and the bank file must be absent or whole and
// valid, and a restart must fetch exactly the presets that are missing.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <set>

#include "QD3ControlScreenNames.h"
#include "presets/BankFile.h"
#include "protocol/Checksum14.h"
#include "tests/support/CoreHarness.h"
#include "tests/support/ScriptedPlatformServices.h"

namespace qd3::test {
namespace {

constexpr uint32_t kSeed = 20261209;
constexpr int kSyncKills = 10;
constexpr int kExportKills = 10;
constexpr char kStartSignal = 'S';

using Clock = std::chrono::steady_clock;

Bytes ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Forks a child that runs `work`, which calls its argument when the part worth killing
// begins and again when it is over (each writes kStartSignal to a pipe); the child ends
// with _exit(0). The parent kills it `delay` after the start (never, when delay is
// negative, and then measures the part) and returns the time from the start.
template <typename Work>
std::chrono::microseconds RunChild(const Work& work, std::chrono::microseconds delay) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    work([&] { [[maybe_unused]] auto n = write(fds[1], &kStartSignal, 1); });
    _exit(0);
  }
  close(fds[1]);
  char c = 0;
  const bool started = read(fds[0], &c, 1) == 1;
  const auto begin = Clock::now();
  if (started && delay.count() >= 0) {
    std::this_thread::sleep_for(delay);
    kill(pid, SIGKILL);
  } else if (started) {
    [[maybe_unused]] const auto n = read(fds[0], &c, 1);  // the part is over
  }
  const auto end = Clock::now();
  int status = 0;
  waitpid(pid, &status, 0);
  close(fds[0]);
  return std::chrono::duration_cast<std::chrono::microseconds>(end - begin);
}

// The editor on `folder`, connected to a fresh default pedal, its traffic recorded.
struct Editor {
  explicit Editor(const std::filesystem::path& folder) {
    // As at the program's start: the cache opened (stale temporaries of a killed run
    // removed), the window built, the checksums read from the cached presets.
    h.editor.OpenCache(folder);
    h.editor.SetPlatformServices(&platform);
    h.OpenWindow({1, 53, 54, 70, 71});
    h.editor.LoadCacheState();
  }
  CoreHarness h;
  ScriptedPlatformServices platform;
};

// Every cached preset is a whole record; a temporary of a write cut short may be there
// right after the kill, never after a restart. Returns the slots with a file.
std::set<int> CheckCache(const std::filesystem::path& folder, bool temporariesAllowed) {
  std::set<int> present;
  if (!std::filesystem::exists(folder)) return present;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const auto& path = entry.path();
    if (path.filename().string().find(".tmp") != std::string::npos) {
      EXPECT_TRUE(temporariesAllowed) << "left behind after a restart: " << path;
      continue;
    }
    if (path.parent_path().filename() != "Presets" || path.extension() != ".dat") continue;
    EXPECT_EQ(entry.file_size(), kPresetRecordSize) << "torn cache file " << path;
    present.insert(std::stoi(path.stem().string()) - 1);  // files are numbered from 001
  }
  return present;
}

TEST(KillDuringWrites, EveryCacheFileIsWholeAndARestartFetchesOnlyWhatIsMissing) {
  TempFolder scratch;
  // Calibration: how long a whole synchronisation takes in this process, unkilled.
  const auto whole = RunChild(
      [&](auto started) {
        Editor e(scratch.Path() / "calibration");
        started();
        e.h.ConnectAndSettle();
        started();
      },
      std::chrono::microseconds{-1});
  std::mt19937 random(kSeed);
  std::uniform_int_distribution<long> at(0, whole.count());
  for (int kill = 0; kill < kSyncKills; ++kill) {
    const auto folder = scratch.Path() / ("sync" + std::to_string(kill));
    const std::chrono::microseconds delay{at(random)};
    RunChild(
        [&](auto started) {
          Editor e(folder);
          started();
          e.h.ConnectAndSettle();
        },
        delay);
    const std::set<int> present = CheckCache(folder, true);
    std::printf("sync kill %d after %ld us: %zu presets cached\n", kill,
                static_cast<long>(delay.count()), present.size());

    // The restart asks for exactly the slots without a file (and then the current preset).
    Editor again(folder);
    ASSERT_TRUE(again.h.ConnectAndSettle()) << "kill " << kill;
    CheckCache(folder, false);
    std::vector<int> asked;
    for (const Bytes& m : again.h.sent.messages) {
      if (m[kCommandOffset] == kCmdRequestPreset) asked.push_back(m[kSelectorOffset]);
    }
    std::vector<int> missing;
    for (int slot = 0; slot < kPresetCount; ++slot) {
      if (!present.count(slot)) missing.push_back(slot);
    }
    ASSERT_FALSE(asked.empty());
    asked.pop_back();  // the current preset, asked for at the end of every connection
    EXPECT_EQ(asked, missing) << "kill " << kill << " after " << delay.count() << " us, "
                              << present.size() << " presets cached";
    const sim::PedalState pedal = again.h.link.Pedal().Snapshot();
    for (int slot = 0; slot < kPresetCount; ++slot) {
      const auto cached = again.h.editor.Cache()->ReadPreset(slot);
      ASSERT_TRUE(cached.has_value()) << slot;
      const auto& record = pedal.presets[static_cast<size_t>(slot)];
      EXPECT_TRUE(std::equal(record.begin(), record.end(), cached->Bytes().begin())) << slot;
    }
  }
}

TEST(KillDuringWrites, TheBankFileIsAbsentOrWholeAndValid) {
  TempFolder scratch;
  auto exportTo = [&](const std::filesystem::path& folder) {
    return [folder](auto started) {
      Editor e(folder);
      if (!e.h.ConnectAndSettle()) return;
      e.platform.QueueSaveFileResult((folder / "bank.q3b").string());
      started();
      e.h.editor.OnMenuCommand(kEditorCmdBankExport);
      e.h.RunUntil([&] { return !e.h.editor.session.backupActive; }, std::chrono::seconds(60));
      started();
    };
  };
  const auto whole =
      RunChild(exportTo(scratch.Path() / "calibration"), std::chrono::microseconds{-1});
  ASSERT_TRUE(std::filesystem::exists(scratch.Path() / "calibration" / "bank.q3b"));
  std::mt19937 random(kSeed + 1);
  // Half the kills fall anywhere in the export, half into its last fifth, where the file
  // is written.
  std::uniform_int_distribution<long> anywhere(0, whole.count());
  std::uniform_int_distribution<long> nearEnd(whole.count() * 4 / 5, whole.count());
  int written = 0;
  for (int kill = 0; kill < kExportKills; ++kill) {
    const auto folder = scratch.Path() / ("export" + std::to_string(kill));
    const std::chrono::microseconds delay{kill % 2 == 0 ? anywhere(random) : nearEnd(random)};
    RunChild(exportTo(folder), delay);
    CheckCache(folder, true);
    // A bank.q3b.tmp of a write cut short may stay beside it; the file itself is whole.
    const auto bank = folder / "bank.q3b";
    if (!std::filesystem::exists(bank)) continue;
    ++written;
    const Bytes bytes = ReadAll(bank);
    const BankFileCheck check = ValidateBankFile(bytes);
    EXPECT_TRUE(check.Valid()) << "kill " << kill << ": " << check.reason;
    int presets = 0;
    for (const BankMessageSpan& m : BankMessages(bytes)) {
      presets += bytes[m.offset + kCommandOffset] == kCmdPresetDump;
    }
    EXPECT_EQ(presets, kPresetCount) << "kill " << kill;
  }
  std::printf("%d of %d killed exports had written their file\n", written, kExportKills);
}

}  // namespace
}  // namespace qd3::test
