#include "presets/StaleTemporaries.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <ctime>
#include <fstream>

#include "presets/CacheFileIo.h"
#include "presets/PresetCache.h"
#include "presets/SafetyBackup.h"
#include "tests/support/TempFolder.h"

namespace qd3 {
namespace {

void Touch(const std::filesystem::path& path) {
  std::ofstream(path) << "x";
}

// Regression: "NNN.dat.tmp" left by a cache write that was cut short stayed in the cache
// folders for ever. At start-up they go; cache files, WAV files and look-alikes stay.
TEST(StaleTemporaries, CutShortCacheWritesAreRemovedAndNothingElse) {
  test::TempFolder base;
  const auto presets = base.Path() / kPresetsFolderName;
  const auto user = base.Path() / kUserIrsFolderName;
  const auto factory = base.Path() / kFactoryIrsFolderName;
  for (const auto& folder : {presets, user, factory}) std::filesystem::create_directories(folder);
  const std::filesystem::path removed[] = {presets / "001.dat.tmp", user / "256.dat.tmp",
                                           factory / "008.dat.tmp"};
  const std::filesystem::path kept[] = {presets / "001.dat",      presets / "01.dat.tmp",
                                        presets / "abc.dat.tmp",  user / "001.wav",
                                        user / "001.dat.tmp.old", base.Path() / "001.dat.tmp",
                                        presets / "1234.dat.tmp"};
  for (const auto& p : removed) Touch(p);
  for (const auto& p : kept) Touch(p);
  std::filesystem::create_directories(factory / "002.dat.tmp");  // a folder: not ours

  EXPECT_EQ(RemoveStaleTemporaries(base.Path()), 3);
  for (const auto& p : removed) EXPECT_FALSE(std::filesystem::exists(p)) << p;
  for (const auto& p : kept) EXPECT_TRUE(std::filesystem::exists(p)) << p;
  EXPECT_TRUE(std::filesystem::is_directory(factory / "002.dat.tmp"));
  EXPECT_EQ(RemoveStaleTemporaries(base.Path()), 0);
  EXPECT_EQ(RemoveStaleTemporaries(base.Path() / "missing"), 0);
}

// Regression: a kill during a safety backup's write left "Backups/QD3 backup ... .q3b.tmp"
// for ever, and one during the factory WAV install "<wav>.tmp".
TEST(StaleTemporaries, CutShortBackupsAndFactoryWavsGoAndTheUsersFilesStay) {
  test::TempFolder base;
  const auto backups = base.Path() / kBackupsFolderName;
  const auto factory = base.Path() / kFactoryIrsFolderName;
  std::filesystem::create_directories(backups);
  std::filesystem::create_directories(factory);
  std::tm time{};
  time.tm_year = 124;
  time.tm_mon = 2;
  time.tm_mday = 9;
  time.tm_hour = 21;
  time.tm_min = 5;
  time.tm_sec = 7;
  const auto backup = SafetyBackupPath(base.Path(), time);
  const std::filesystem::path removed[] = {TempPathFor(backup),
                                           factory / (std::string(kFactoryIrWavNames[0]) + ".tmp"),
                                           factory / (std::string(kFactoryIrWavNames[7]) + ".tmp")};
  const std::filesystem::path kept[] = {
      backup,
      backups / "notes.tmp",
      backups / "x.q3b",
      backups / "x.q3b.tmp",
      backups / "QD3 backup 2024-03-09 2105.q3b.tmp",
      backups / "QD3 backup 2024-03-09 210507.q3p.tmp",
      backups / "QD3 backup 2024-03-0x 210507.q3b.tmp",
      base.Path() / "notes.tmp",
      factory / "01-Tolvane.wav",
      factory / "09-Mine.wav.tmp",
  };
  for (const auto& p : removed) Touch(p);
  for (const auto& p : kept) Touch(p);
  // A link under one of our names is not a file we wrote; neither it nor its target goes.
  const auto linked = backups / "QD3 backup 2024-03-09 210508.q3b.tmp";
  std::filesystem::create_symlink(base.Path() / "notes.tmp", linked);

  EXPECT_EQ(RemoveStaleTemporaries(base.Path()), 3);
  for (const auto& p : removed) EXPECT_FALSE(std::filesystem::exists(p)) << p;
  for (const auto& p : kept) EXPECT_TRUE(std::filesystem::exists(p)) << p;
  EXPECT_TRUE(std::filesystem::is_symlink(linked));
}

// qd3ctl may be writing a safety backup while the editor starts: its temporary is locked
// for as long as it is open, and stays until the write is over.
TEST(StaleTemporaries, ATemporaryBeingWrittenStays) {
  test::TempFolder base;
  std::filesystem::create_directories(base.Path() / kBackupsFolderName);
  const auto temp = TempPathFor(SafetyBackupPath(base.Path(), std::tm{}));
  Touch(temp);
  const int writer = ::open(temp.c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  ASSERT_EQ(::flock(writer, LOCK_EX | LOCK_NB), 0);

  EXPECT_EQ(RemoveStaleTemporaries(base.Path()), 0);
  EXPECT_TRUE(std::filesystem::exists(temp));
  ::close(writer);  // the writer is killed: its lock goes with it
  EXPECT_EQ(RemoveStaleTemporaries(base.Path()), 1);
  EXPECT_FALSE(std::filesystem::exists(temp));
}

TEST(StaleTemporaries, AnExportedFilesTemporaryGoesAndItsNeighboursStay) {
  test::TempFolder folder;
  const auto target = folder.Path() / "My Bank.q3b";
  Touch(target);
  Touch(TempPathFor(target));
  Touch(folder.Path() / "notes.tmp");
  Touch(folder.Path() / "x.q3b.tmp");

  EXPECT_TRUE(RemoveStaleTemporaryOf(target));
  EXPECT_FALSE(std::filesystem::exists(TempPathFor(target)));
  EXPECT_TRUE(std::filesystem::exists(target));
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "notes.tmp"));
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "x.q3b.tmp"));
  EXPECT_FALSE(RemoveStaleTemporaryOf(target)) << "nothing left to remove";
  EXPECT_FALSE(RemoveStaleTemporaryOf({}));
}

TEST(SafetyBackup, NamesItMakesAreRecognisedAndOthersAreNot) {
  std::tm time{};
  time.tm_year = 99;
  time.tm_mon = 11;
  time.tm_mday = 31;
  time.tm_hour = 23;
  time.tm_min = 59;
  time.tm_sec = 58;
  EXPECT_TRUE(IsSafetyBackupName(SafetyBackupPath("/base", time).filename().string()));
  for (const char* other : {"QD3 backup 1999-12-31 235958.q3b.tmp", "QD3 backup 1999-12-31.q3b",
                            "qd3 backup 1999-12-31 235958.q3b", "x.q3b", ""}) {
    EXPECT_FALSE(IsSafetyBackupName(other)) << other;
  }
}

}  // namespace
}  // namespace qd3
