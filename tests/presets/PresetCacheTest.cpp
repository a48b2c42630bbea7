#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "presets/PresetCache.h"
#include "presets/SlotLabels.h"
#include "tests/support/TempFolder.h"

namespace qd3 {
namespace {

namespace fs = std::filesystem;
using test::Padded32;
using test::ReadBytes;
using test::RecordBytes;
using test::WriteBytes;

class PresetCacheTest : public ::testing::Test {
 protected:
  fs::path Presets() const { return mBase.Path() / "Presets"; }
  fs::path UserIrs() const { return mBase.Path() / "User IRs"; }
  fs::path FactoryIrs() const { return mBase.Path() / "Factory IRs"; }

  // The ".dat" file names of the presets folder in directory listing order.
  std::vector<std::string> ListedDatNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Presets())) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_directory() && name.ends_with(".dat")) names.push_back(name);
    }
    return names;
  }

  test::TempFolder mBase;
  PresetCache mCache{mBase.Path()};
};

TEST_F(PresetCacheTest, PresetFilesAreNamedBySlotPlusOne) {
  EXPECT_EQ(mCache.PresetFilePath(0), mBase.Path() / "Presets" / "001.dat");
  EXPECT_EQ(mCache.PresetFilePath(9), mBase.Path() / "Presets" / "010.dat");
  EXPECT_EQ(mCache.PresetFilePath(127), mBase.Path() / "Presets" / "128.dat");
}

TEST_F(PresetCacheTest, WrittenRecordReadsBack) {
  const std::vector<uint8_t> bytes = RecordBytes("Round Trip", 0x11);
  PresetRecord record = PresetRecord::FromPrefix(bytes);
  EXPECT_EQ(mCache.WritePreset(41, record.Bytes()), CacheWriteStatus::kWritten);
  EXPECT_EQ(ReadBytes(Presets() / "042.dat"), bytes);
  EXPECT_EQ(mCache.ReadPreset(41), record);
  EXPECT_EQ(mCache.ReadPreset(40), std::nullopt);
}

TEST_F(PresetCacheTest, WriteReplacesThePreviousFileWholeAndLeavesNoTemporaryFile) {
  WriteBytes(Presets() / "001.dat", std::vector<uint8_t>(300, 0x55));
  const std::vector<uint8_t> bytes = RecordBytes("New");
  EXPECT_EQ(mCache.WritePreset(0, PresetRecord::FromPrefix(bytes).Bytes()),
            CacheWriteStatus::kWritten);
  EXPECT_EQ(ReadBytes(Presets() / "001.dat"), bytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(Presets()), fs::directory_iterator()), 1);
}

TEST_F(PresetCacheTest, ShortPresetFileReadsZeroFilled) {
  WriteBytes(Presets() / "003.dat", {1, 0, 'A', 'B'});
  const auto record = mCache.ReadPreset(2);
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->Bytes()[3], 'B');
  EXPECT_EQ(record->Bytes()[4], 0);
  EXPECT_EQ(record->NameUpToNul(), "AB");
  EXPECT_EQ(mCache.BuildListFromCache(0).labels[2], " 02 AB");
}

TEST_F(PresetCacheTest, OnlyTheFirst256BytesOfALongerPresetFileCount) {
  std::vector<uint8_t> bytes = RecordBytes("Long", 3);
  const PresetRecord record = PresetRecord::FromPrefix(bytes);
  bytes.resize(400, 0x7F);
  WriteBytes(Presets() / "001.dat", bytes);
  EXPECT_EQ(mCache.ReadPreset(0), record);
  const PresetList list = mCache.BuildListFromCache(1);
  EXPECT_EQ(list.checksums[0], record.Checksum());
  EXPECT_EQ(list.labels[0], " 01 " + Padded32("Long"));
}

TEST_F(PresetCacheTest, BuildGoesByFileNumberAndScanDoesNothingWithout001) {
  WriteBytes(Presets() / "005.dat", RecordBytes("Five"));
  EXPECT_TRUE(mCache.ScanPresetsFolder(1).empty());

  const PresetList list = mCache.BuildListFromCache(1);
  const PresetRecord five = PresetRecord::FromPrefix(RecordBytes("Five"));
  for (int slot = 0; slot < kPresetCount; ++slot) {
    const auto n = static_cast<std::size_t>(slot);
    if (slot == 4) {
      EXPECT_EQ(list.labels[n], " 05 " + Padded32("Five"));
      EXPECT_EQ(list.checksums[n], five.Checksum());
    } else {
      EXPECT_EQ(list.labels[n], EmptySlotLabel(slot, 1)) << slot;
      EXPECT_EQ(list.checksums[n], (Checksum14Pair{0, 0})) << slot;
    }
  }
}

TEST_F(PresetCacheTest, ScanCreatesTheMissingPresetsFolderAndStops) {
  ASSERT_FALSE(fs::exists(Presets()));
  EXPECT_TRUE(mCache.ScanPresetsFolder(0).empty());
  EXPECT_TRUE(fs::is_directory(Presets()));
}

TEST_F(PresetCacheTest, ScanCountsRowsInListingOrderWhileBuildUsesFileNumbers) {
  WriteBytes(Presets() / "001.dat", RecordBytes("One"));
  WriteBytes(Presets() / "003.dat", RecordBytes("Three"));
  const std::map<std::string, std::string> nameOf = {{"001.dat", "One"}, {"003.dat", "Three"}};

  const std::vector<RowLabel> scanned = mCache.ScanPresetsFolder(1);
  const std::vector<std::string> listed = ListedDatNames();
  ASSERT_EQ(scanned.size(), 2u);
  ASSERT_EQ(listed.size(), 2u);
  for (std::size_t row = 0; row < 2; ++row) {
    EXPECT_EQ(scanned[row].row, static_cast<int>(row));
    EXPECT_EQ(scanned[row].label,
              EmptySlotLabel(static_cast<int>(row), 1) + Padded32(nameOf.at(listed[row])));
  }

  const PresetList list = mCache.BuildListFromCache(1);
  EXPECT_EQ(list.labels[0], " 01 " + Padded32("One"));
  EXPECT_EQ(list.labels[1], " 02 ");
  EXPECT_EQ(list.labels[2], " 03 " + Padded32("Three"));
}

TEST_F(PresetCacheTest, ScanListsOnlyNonDirectoryEntriesEndingInLowerCaseDat) {
  WriteBytes(Presets() / "001.dat", RecordBytes("One"));
  WriteBytes(Presets() / "002.DAT", RecordBytes("Upper"));
  WriteBytes(Presets() / "003.dat.bak", RecordBytes("Backup"));
  WriteBytes(Presets() / "notes.txt", RecordBytes("Notes"));
  WriteBytes(Presets() / "dat", RecordBytes("NoDot"));
  fs::create_directories(Presets() / "004.dat");

  const std::vector<RowLabel> scanned = mCache.ScanPresetsFolder(0);
  ASSERT_EQ(scanned.size(), 1u);
  EXPECT_EQ(scanned[0], (RowLabel{0, " 00 " + Padded32("One")}));
}

TEST_F(PresetCacheTest, ScanStopsAfter128Rows) {
  for (int n = 1; n <= 130; ++n) WriteBytes(Presets() / CacheFileName(n), RecordBytes("P"));
  const std::vector<RowLabel> scanned = mCache.ScanPresetsFolder(0);
  ASSERT_EQ(scanned.size(), 128u);
  EXPECT_EQ(scanned.back().row, 127);
  EXPECT_EQ(scanned.back().label, " 127 " + Padded32("P"));
}

TEST_F(PresetCacheTest, ClearDeletesDatFilesOfAllThreeFoldersAndKeepsTheRest) {
  WriteBytes(Presets() / "001.dat", RecordBytes("One"));
  WriteBytes(Presets() / "077.dat", RecordBytes("Seventy-seven"));
  WriteBytes(Presets() / "002.DAT", RecordBytes("Upper"));
  WriteBytes(UserIrs() / "001.dat", std::vector<uint8_t>(2436, 1));
  WriteBytes(UserIrs() / "200.dat", std::vector<uint8_t>(2436, 2));
  fs::create_directories(UserIrs() / "folder.dat");
  WriteBytes(FactoryIrs() / "001.dat", std::vector<uint8_t>(2436, 3));
  for (std::size_t i = 0; i < kFactoryIrWavCount; ++i) {
    WriteBytes(FactoryIrs() / kFactoryIrWavNames[i], std::vector<uint8_t>(10 + i, 'W'));
  }

  const ClearCacheResult result = mCache.ClearCache(1);

  EXPECT_EQ(result.undeletedFiles, 0);
  EXPECT_FALSE(fs::exists(Presets() / "001.dat"));
  EXPECT_FALSE(fs::exists(Presets() / "077.dat"));
  EXPECT_FALSE(fs::exists(UserIrs() / "001.dat"));
  EXPECT_FALSE(fs::exists(UserIrs() / "200.dat"));
  EXPECT_FALSE(fs::exists(FactoryIrs() / "001.dat"));
  EXPECT_TRUE(fs::exists(Presets() / "002.DAT"));
  EXPECT_TRUE(fs::is_directory(UserIrs() / "folder.dat"));
  for (std::size_t i = 0; i < kFactoryIrWavCount; ++i) {
    EXPECT_EQ(ReadBytes(FactoryIrs() / kFactoryIrWavNames[i]), std::vector<uint8_t>(10 + i, 'W'))
        << kFactoryIrWavNames[i];
  }
  // 001.dat is gone, so the scan only makes sure the folder exists.
  EXPECT_TRUE(result.scanned.empty());
  for (int slot = 0; slot < kPresetCount; ++slot) {
    const auto n = static_cast<std::size_t>(slot);
    EXPECT_EQ(result.list.labels[n], EmptySlotLabel(slot, 1));
    EXPECT_EQ(result.list.checksums[n], (Checksum14Pair{0, 0}));
  }
}

TEST_F(PresetCacheTest, ClearRecreatesTheDeletedPresetsFolder) {
  // Nothing exists yet: the deletion finds no folders, the scan creates "Presets".
  const ClearCacheResult result = mCache.ClearCache(0);
  EXPECT_EQ(result.undeletedFiles, 0);
  EXPECT_TRUE(fs::is_directory(Presets()));
  EXPECT_EQ(result.list.labels[127], " 127 ");
}

// The shortcut that lets the list build and the IR names skip their hundreds of reads
// must never call a folder empty that holds something a read would find.
TEST_F(PresetCacheTest, OnlyAMissingOrEntrylessFolderCountsAsCertainlyEmpty) {
  fs::create_directories(Presets());
  WriteBytes(UserIrs() / "notes.txt", std::vector<uint8_t>(3, 0x41));
  fs::create_directories(FactoryIrs() / "sub");
  WriteBytes(mBase.Path() / "plain", std::vector<uint8_t>(1, 0));
  const struct {
    fs::path folder;
    bool empty;
  } cases[] = {
      {mBase.Path() / "absent", true},
      {Presets(), true},
      {UserIrs(), false},               // any entry, even one that is not a cache file
      {FactoryIrs(), false},            // a sub-folder is an entry too
      {mBase.Path() / "plain", false},  // a file where the folder should be
  };
  for (const auto& c : cases) EXPECT_EQ(FolderCertainlyEmpty(c.folder), c.empty) << c.folder;
}

TEST_F(PresetCacheTest, ListOfAnEmptiedFolderMatchesTheListOfOneWithFiles) {
  fs::create_directories(Presets());
  const PresetList empty = mCache.BuildListFromCache(1);
  EXPECT_EQ(empty.labels[0], EmptySlotLabel(0, 1));
  EXPECT_EQ(empty.checksums[0], PresetRecord{}.Checksum());
  WriteBytes(Presets() / "128.dat", RecordBytes("Last", 0x22));
  const PresetList one = mCache.BuildListFromCache(1);
  EXPECT_EQ(one.labels[0], EmptySlotLabel(0, 1));
  EXPECT_EQ(one.labels[127],
            CachedSlotLabel(127, 1, PresetRecord::FromPrefix(RecordBytes("Last", 0x22))));
  EXPECT_NE(one.checksums[127], empty.checksums[127]);
}

}  // namespace
}  // namespace qd3
