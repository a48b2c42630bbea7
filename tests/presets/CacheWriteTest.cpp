// A cache write that fails must leave everything already on disk as it was. Tests run as
// root, where file permissions stop nothing, so the failures are made with paths that
// cannot be written: a folder that is a regular file, a directory where the temporary
// file goes, a full device behind the temporary file, a directory where the target is.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "presets/PresetCache.h"
#include "tests/support/TempFolder.h"

namespace qd3 {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::RecordBytes;
using test::WriteBytes;

class CacheWriteTest : public ::testing::Test {
 protected:
  fs::path Preset001() const { return mBase.Path() / "Presets" / "001.dat"; }
  fs::path Temp001() const { return mBase.Path() / "Presets" / "001.dat.tmp"; }

  CacheWriteStatus WriteNewRecord() {
    return mCache.WritePreset(0, PresetRecord::FromPrefix(RecordBytes("New")).Bytes());
  }

  const std::vector<uint8_t> mOld = RecordBytes("Old", 0x22);
  test::TempFolder mBase;
  PresetCache mCache{mBase.Path()};
};

TEST_F(CacheWriteTest, TemporaryFileSitsBesideTheTargetWithoutTheDatEnding) {
  EXPECT_EQ(TempPathFor(Preset001()), Temp001());
}

TEST_F(CacheWriteTest, FolderThatIsARegularFileFailsAndKeepsThatFile) {
  WriteBytes(mBase.Path() / "Presets", mOld);
  EXPECT_EQ(WriteNewRecord(), CacheWriteStatus::kFolderUnavailable);
  EXPECT_EQ(ReadBytes(mBase.Path() / "Presets"), mOld);

  WriteBytes(mBase.Path() / "User IRs", mOld);
  EXPECT_EQ(mCache.WriteIrImage(3, std::vector<uint8_t>(2436, 1)),
            CacheWriteStatus::kFolderUnavailable);
  EXPECT_EQ(ReadBytes(mBase.Path() / "User IRs"), mOld);
}

TEST_F(CacheWriteTest, TemporaryFileThatCannotBeCreatedKeepsThePreviousRecord) {
  WriteBytes(Preset001(), mOld);
  fs::create_directories(Temp001());
  EXPECT_EQ(WriteNewRecord(), CacheWriteStatus::kTempFileFailed);
  EXPECT_EQ(ReadBytes(Preset001()), mOld);
  EXPECT_TRUE(fs::is_directory(Temp001()));
  EXPECT_EQ(mCache.ReadPreset(0), PresetRecord::FromPrefix(mOld));
}

TEST_F(CacheWriteTest, FullDiskKeepsThePreviousRecord) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full to stand in for a full disk";
  WriteBytes(Preset001(), mOld);
  fs::create_symlink("/dev/full", Temp001());
  EXPECT_EQ(WriteNewRecord(), CacheWriteStatus::kWriteFailed);
  EXPECT_EQ(ReadBytes(Preset001()), mOld);
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(Preset001())));
  EXPECT_FALSE(fs::exists(fs::symlink_status(Temp001()))) << "the temporary file stays behind";
}

TEST_F(CacheWriteTest, TargetThatCannotBeReplacedKeepsItsContentAndLeavesNoTemporaryFile) {
  fs::create_directories(Preset001());
  WriteBytes(Preset001() / "inside", mOld);
  EXPECT_EQ(WriteNewRecord(), CacheWriteStatus::kReplaceFailed);
  EXPECT_EQ(ReadBytes(Preset001() / "inside"), mOld);
  EXPECT_FALSE(fs::exists(Temp001()));
}

TEST_F(CacheWriteTest, FailedFactoryWavInstallationIsReported) {
  WriteBytes(mBase.Path() / "Factory IRs", mOld);
  const std::vector<uint8_t> blob(10, 1);
  FactoryIrWavData wavs;
  wavs.fill(blob);
  EXPECT_EQ(mCache.InstallFactoryIrWavs(wavs), FactoryWavInstall::kIncomplete);
  EXPECT_EQ(ReadBytes(mBase.Path() / "Factory IRs"), mOld);
}

}  // namespace
}  // namespace qd3
