#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "presets/PresetCache.h"
#include "tests/support/TempFolder.h"

namespace qd3 {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

// An image-sized file whose name field (bytes 4..35) holds `name`, the rest counting bytes.
std::vector<uint8_t> IrFile(std::size_t size, const std::string& name) {
  std::vector<uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  for (std::size_t i = 0; i < 32 && 4 + i < size; ++i) {
    bytes[4 + i] = i < name.size() ? static_cast<uint8_t>(name[i]) : uint8_t{' '};
  }
  return bytes;
}

std::string NameText(const std::array<uint8_t, kNameSize>& field) {
  return std::string(field.begin(), field.end());
}

class IrCacheTest : public ::testing::Test {
 protected:
  test::TempFolder mBase;
  PresetCache mCache{mBase.Path()};
};

struct IrPathCase {
  int number;
  const char* folder;  // nullptr: no cache file
  const char* file;
};

TEST_F(IrCacheTest, IrNumbersMapToTheirFolderAndFile) {
  const IrPathCase cases[] = {
      {0, "User IRs", "001.dat"},      {5, "User IRs", "006.dat"},
      {255, "User IRs", "256.dat"},    {256, "User IRs", "257.dat"},
      {287, "User IRs", "288.dat"},    {384, "Factory IRs", "001.dat"},
      {391, "Factory IRs", "008.dat"}, {511, "Factory IRs", "128.dat"},
      {512, "Factory IRs", "001.dat"}, {-1, nullptr, nullptr},
      {16384, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    const auto path = mCache.IrFilePath(c.number);
    if (c.folder == nullptr) {
      EXPECT_EQ(path, std::nullopt) << c.number;
      EXPECT_EQ(mCache.WriteIrImage(c.number, std::vector<uint8_t>(4)),
                CacheWriteStatus::kNoCacheFile);
      EXPECT_FALSE(mCache.IsIrCached(c.number));
    } else {
      EXPECT_EQ(path, mBase.Path() / c.folder / c.file) << c.number;
    }
  }
}

TEST_F(IrCacheTest, WrittenImageReadsBackAndCreatesItsFolder) {
  const std::vector<uint8_t> image = IrFile(2436, "Greenback");
  EXPECT_FALSE(mCache.IsIrCached(133));
  EXPECT_EQ(mCache.WriteIrImage(133, image), CacheWriteStatus::kWritten);
  EXPECT_TRUE(mCache.IsIrCached(133));
  EXPECT_EQ(ReadBytes(mBase.Path() / "User IRs" / "134.dat"), image);
  const auto read = mCache.ReadIrImage(133);
  ASSERT_TRUE(read.has_value());
  EXPECT_TRUE(std::equal(read->begin(), read->end(), image.begin()));

  EXPECT_EQ(mCache.WriteIrImage(386, image), CacheWriteStatus::kWritten);
  EXPECT_EQ(ReadBytes(mBase.Path() / "Factory IRs" / "003.dat"), image);
}

struct SizeCase {
  std::size_t size;
  bool imageAccepted;
  std::string name;  // what the name reader gives
};

TEST_F(IrCacheTest, ImageNeedsExactly2436BytesWhileTheNameNeedsOnlyAFileThatOpens) {
  const std::string full = "Cab" + std::string(29, ' ');
  const SizeCase cases[] = {
      {2436, true, full},
      {2435, false, full},
      {2437, false, full},
      {36, false, full},
      {10, false, "Cab   " + std::string(26, ' ')},  // bytes 4..9, then spaces
      {0, false, std::string(32, ' ')},
  };
  for (const auto& c : cases) {
    WriteBytes(mBase.Path() / "User IRs" / "001.dat", IrFile(c.size, "Cab"));
    EXPECT_EQ(mCache.ReadIrImage(0).has_value(), c.imageAccepted) << c.size;
    const auto name = mCache.ReadIrName(0);
    ASSERT_TRUE(name.has_value()) << c.size;
    EXPECT_EQ(NameText(*name), c.name) << c.size;
    EXPECT_TRUE(mCache.IsIrCached(0)) << c.size;
  }
}

TEST_F(IrCacheTest, MissingFileHasNoImageNoNameAndIsNotCached) {
  EXPECT_EQ(mCache.ReadIrImage(7), std::nullopt);
  EXPECT_EQ(mCache.ReadIrName(7), std::nullopt);
  EXPECT_FALSE(mCache.IsIrCached(7));
  fs::create_directories(mBase.Path() / "User IRs" / "008.dat");
  EXPECT_FALSE(mCache.IsIrCached(7)) << "a directory is not a cache file";
  EXPECT_EQ(mCache.ReadIrName(7), std::nullopt);
}

std::vector<std::vector<uint8_t>> WavBlobs(uint8_t seed) {
  std::vector<std::vector<uint8_t>> blobs;
  for (std::size_t i = 0; i < kFactoryIrWavCount; ++i) {
    blobs.emplace_back(100 + i, static_cast<uint8_t>(seed + i));
  }
  return blobs;
}

FactoryIrWavData Spans(const std::vector<std::vector<uint8_t>>& blobs) {
  FactoryIrWavData data;
  for (std::size_t i = 0; i < kFactoryIrWavCount; ++i) data[i] = blobs[i];
  return data;
}

TEST_F(IrCacheTest, FactoryWavsAreWrittenUnderTheirNamesInOrder) {
  const auto blobs = WavBlobs(1);
  EXPECT_EQ(mCache.InstallFactoryIrWavs(Spans(blobs)), FactoryWavInstall::kInstalled);
  const char* names[] = {"01-Tolvane.wav",   "02-Blond 2x12.wav",   "03-Tweed 4x10.wav",
                         "04-Cali 1x12.wav", "05-Cali 4x12.wav",    "06-Blue 2x12.wav",
                         "07-Brit 2x12.wav", "08-Boutique 4x12.wav"};
  for (std::size_t i = 0; i < kFactoryIrWavCount; ++i) {
    EXPECT_EQ(ReadBytes(mBase.Path() / "Factory IRs" / names[i]), blobs[i]) << names[i];
  }
}

TEST_F(IrCacheTest, FirstWavAloneDecidesTheInstallation) {
  const auto first = WavBlobs(1);
  ASSERT_EQ(mCache.InstallFactoryIrWavs(Spans(first)), FactoryWavInstall::kInstalled);
  const fs::path folder = mBase.Path() / "Factory IRs";
  fs::remove(folder / "05-Cali 4x12.wav");

  // The first file opens: a missing later file is not restored, nothing is rewritten.
  const auto second = WavBlobs(50);
  EXPECT_EQ(mCache.InstallFactoryIrWavs(Spans(second)), FactoryWavInstall::kAlreadyPresent);
  EXPECT_FALSE(fs::exists(folder / "05-Cali 4x12.wav"));
  EXPECT_EQ(ReadBytes(folder / "02-Blond 2x12.wav"), first[1]);

  // Without the first file all eight are written again, over the ones still there.
  fs::remove(folder / "01-Tolvane.wav");
  EXPECT_EQ(mCache.InstallFactoryIrWavs(Spans(second)), FactoryWavInstall::kInstalled);
  for (std::size_t i = 0; i < kFactoryIrWavCount; ++i) {
    EXPECT_EQ(ReadBytes(folder / kFactoryIrWavNames[i]), second[i]) << i;
  }
}

}  // namespace
}  // namespace qd3
