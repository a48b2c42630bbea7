// Saving and loading the pedal's memory.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "simulator/DefaultState.h"
#include "simulator/StateFile.h"
#include "tests/simulator/SimTestSupport.h"

namespace qd3::sim::test {
namespace {

namespace fs = std::filesystem;

class StateFileTest : public ::testing::Test {
 protected:
  StateFileTest() {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '_');
    mDir = fs::temp_directory_path() / ("qd3-sim-state-" + std::to_string(getpid()) + "-" + name);
    fs::create_directories(mDir);
  }
  ~StateFileTest() override { fs::remove_all(mDir); }

  static void Write(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

  static PedalState Changed() {
    PedalState state = DefaultPedalState();
    state.presets[17] = DefaultPresetRecord(3);
    state.currentPreset = 17;
    state.editBuffer = state.presets[17];
    RecordParam(state.editBuffer, 1) = 5;
    state.globals[9] = 1;
    state.controllerMap[3] = 99;
    state.programMap[0] = 42;
    state.userIrs[200] = MakeSyntheticIr("Saved IR", 9);
    state.cabinetIrs[7] = MakeSyntheticIr("Saved Cab", 10);
    state.serial = "SERIAL WITH TRAILING SPACE ";
    state.firmwareVersion = 13;
    return state;
  }

  fs::path mDir;
};

TEST_F(StateFileTest, StateSurvivesSaveAndLoad) {
  const PedalState saved = Changed();
  const fs::path path = mDir / "pedal.qd3sim";
  ASSERT_EQ(SaveStateFile(saved, path), StateFileStatus::kOk);
  PedalState loaded = DefaultPedalState();
  ASSERT_EQ(LoadStateFile(path, loaded), StateFileStatus::kOk);
  EXPECT_EQ(loaded, saved);
  // Nothing but the target remains in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(mDir), fs::directory_iterator()), 1);
}

TEST_F(StateFileTest, LoadedPedalAnswersWithTheSavedPresets) {
  const fs::path path = mDir / "pedal.qd3sim";
  ASSERT_EQ(SaveStateFile(Changed(), path), StateFileStatus::kOk);
  PedalState loaded;
  ASSERT_EQ(LoadStateFile(path, loaded), StateFileStatus::kOk);
  PedalModel pedal(std::move(loaded));
  const Bytes dump = pedal.Receive(Hex("F0 00 3F 6B 03 40 0B 11 F7")).at(0);
  const Record expected = DefaultPresetRecord(3);
  EXPECT_EQ(DataOf(dump), Bytes(expected.begin(), expected.end()));
}

TEST_F(StateFileTest, SaveReplacesAnExistingFile) {
  const fs::path path = mDir / "pedal.qd3sim";
  Write(path, Bytes(10, 0xAA));
  ASSERT_EQ(SaveStateFile(Changed(), path), StateFileStatus::kOk);
  PedalState loaded;
  EXPECT_EQ(LoadStateFile(path, loaded), StateFileStatus::kOk);
}

TEST_F(StateFileTest, SaveIntoAMissingFolderFailsAndLeavesNothing) {
  EXPECT_EQ(SaveStateFile(Changed(), mDir / "missing" / "pedal.qd3sim"),
            StateFileStatus::kWriteFailed);
  EXPECT_FALSE(fs::exists(mDir / "missing"));
}

struct BrokenCase {
  const char* what;
  std::function<void(Bytes&)> damage;
  StateFileStatus status;
};

void PrintTo(const BrokenCase& c, std::ostream* os) {
  *os << c.what;
}

class BrokenFiles : public StateFileTest, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenFiles, FailCleanlyAndKeepTheDefaults) {
  Bytes image = EncodeState(Changed());
  GetParam().damage(image);
  const fs::path path = mDir / "broken.qd3sim";
  Write(path, image);
  PedalState state = DefaultPedalState();
  EXPECT_EQ(LoadStateFile(path, state), GetParam().status) << GetParam().what;
  EXPECT_EQ(state, DefaultPedalState()) << GetParam().what;
}

// Offsets into the payload (which starts at byte 16).
constexpr std::size_t kPayload = 16;
constexpr std::size_t kFirstPreset = kPayload + 3 + 32;

// Changes a byte and repairs the CRC, so that only the content check can object.
void SetWithCrc(Bytes& image, std::size_t offset, uint8_t value) {
  image[offset] = value;
  const std::size_t payloadSize = image.size() - kPayload - 4;
  const uint32_t crc = Crc32(std::span(image).subspan(kPayload, payloadSize));
  for (int k = 0; k < 4; ++k) image[image.size() - 4 + k] = static_cast<uint8_t>(crc >> (8 * k));
}

INSTANTIATE_TEST_SUITE_P(
    State, BrokenFiles,
    ::testing::Values(
        BrokenCase{"empty", [](Bytes& b) { b.clear(); }, StateFileStatus::kWrongSize},
        BrokenCase{"header only", [](Bytes& b) { b.resize(16); }, StateFileStatus::kWrongSize},
        BrokenCase{"cut short", [](Bytes& b) { b.resize(b.size() / 2); },
                   StateFileStatus::kWrongSize},
        BrokenCase{"one byte missing", [](Bytes& b) { b.pop_back(); }, StateFileStatus::kWrongSize},
        BrokenCase{"trailing garbage", [](Bytes& b) { b.push_back(0); },
                   StateFileStatus::kWrongSize},
        BrokenCase{"magic", [](Bytes& b) { b[0] = 'X'; }, StateFileStatus::kBadMagic},
        BrokenCase{"newer format", [](Bytes& b) { b[8] = 2; }, StateFileStatus::kNewerFormat},
        // Regression: format 0 was read as format 1 and written back as 1.
        BrokenCase{"format 0", [](Bytes& b) { b[8] = 0; }, StateFileStatus::kUnknownFormat},
        BrokenCase{"flipped bit", [](Bytes& b) { b[kFirstPreset + 300] ^= 4; },
                   StateFileStatus::kBadCrc},
        BrokenCase{"crc", [](Bytes& b) { b.back() ^= 1; }, StateFileStatus::kBadCrc},
        BrokenCase{"8-bit record byte", [](Bytes& b) { SetWithCrc(b, kFirstPreset + 40, 0x80); },
                   StateFileStatus::kBadContent},
        BrokenCase{"preset 128 current", [](Bytes& b) { SetWithCrc(b, kPayload + 1, 128); },
                   StateFileStatus::kBadContent},
        BrokenCase{"version 200", [](Bytes& b) { SetWithCrc(b, kPayload, 200); },
                   StateFileStatus::kBadContent},
        BrokenCase{"serial length 40", [](Bytes& b) { SetWithCrc(b, kPayload + 2, 40); },
                   StateFileStatus::kBadContent}));

TEST_F(StateFileTest, MissingFileCannotBeOpened) {
  PedalState state = DefaultPedalState();
  EXPECT_EQ(LoadStateFile(mDir / "none.qd3sim", state), StateFileStatus::kCannotOpen);
  EXPECT_EQ(LoadStateFile(mDir, state), StateFileStatus::kCannotOpen);
  EXPECT_EQ(state, DefaultPedalState());
}

// Regression: a 2 GiB demo state file was read whole into memory before its size was
// checked. The size now decides before any byte is read: a sparse file of that size, and
// one of the wrong size that may not be read at all, both give kWrongSize.
TEST_F(StateFileTest, WrongSizeIsRefusedBeforeTheFileIsRead) {
  const fs::path huge = mDir / "huge.qd3sim";
  { std::ofstream(huge, std::ios::binary); }
  fs::resize_file(huge, std::uintmax_t{2} << 30);
  PedalState state = DefaultPedalState();
  EXPECT_EQ(LoadStateFile(huge, state), StateFileStatus::kWrongSize);
  EXPECT_EQ(state, DefaultPedalState());

  const fs::path unreadable = mDir / "unreadable.qd3sim";
  Write(unreadable, Bytes(100, 0));
  fs::permissions(unreadable, fs::perms::none);
  const bool canStillRead = std::ifstream(unreadable).good();  // root reads anything
  if (!canStillRead) {
    EXPECT_EQ(LoadStateFile(unreadable, state), StateFileStatus::kWrongSize);
  }
}

// Regression: a damaged demo state file was silently replaced by the save at exit.
TEST_F(StateFileTest, DamagedFileIsKeptAsBadAtStart) {
  const fs::path path = mDir / "demo-pedal.qd3sim";
  Bytes image = EncodeState(Changed());
  image[20] ^= 0x01;  // the CRC no longer agrees
  Write(path, image);
  PedalState state = DefaultPedalState();
  const StartLoad load = LoadStateFileAtStart(path, state);
  EXPECT_EQ(load.status, StateFileStatus::kBadCrc);
  EXPECT_EQ(load.setAside, fs::path(path.string() + ".bad"));
  EXPECT_FALSE(fs::exists(path));
  ASSERT_TRUE(fs::exists(load.setAside));
  EXPECT_EQ(fs::file_size(load.setAside), image.size());
  EXPECT_EQ(state, DefaultPedalState());

  // A good file loads and stays; a missing one sets nothing aside.
  ASSERT_EQ(SaveStateFile(Changed(), path), StateFileStatus::kOk);
  EXPECT_EQ(LoadStateFileAtStart(path, state).status, StateFileStatus::kOk);
  EXPECT_EQ(state, Changed());
  EXPECT_TRUE(fs::exists(path));
  const StartLoad missing = LoadStateFileAtStart(mDir / "none.qd3sim", state);
  EXPECT_EQ(missing.status, StateFileStatus::kCannotOpen);
  EXPECT_TRUE(missing.setAside.empty());
}

// Regression: temporaries of saves cut short ("<name>.tmp.<pid>") piled up beside the
// state file. Those of processes that are gone are removed at start; a running
// process's (here our own parent's) stays.
TEST_F(StateFileTest, StaleTemporariesAreRemovedAtStart) {
  const fs::path path = mDir / "demo-pedal.qd3sim";
  // Process ids wrap well below this on Linux (pid_max is at most 4194304).
  const fs::path stale = mDir / "demo-pedal.qd3sim.tmp.99999999";
  const fs::path running = mDir / ("demo-pedal.qd3sim.tmp." + std::to_string(getppid()));
  const fs::path other = mDir / "other.qd3sim.tmp.99999999";
  for (const auto& p : {stale, running, other}) Write(p, Bytes(10, 1));
  PedalState state = DefaultPedalState();
  const StartLoad load = LoadStateFileAtStart(path, state);
  EXPECT_EQ(load.removedTemporaries, 1);
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(running));
  EXPECT_TRUE(fs::exists(other));
}

TEST(Crc32, KnownVector) {
  const std::string text = "123456789";
  EXPECT_EQ(Crc32(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size())),
            0xCBF43926u);
}

}  // namespace
}  // namespace qd3::sim::test
