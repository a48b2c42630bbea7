#include "presets/StaleTemporaries.h"

#include <gtest/gtest.h>

#include <fstream>

#include "presets/PresetCache.h"
#include "tests/support/TempFolder.h"

namespace qd3 {
namespace {

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
                                        user / "001.dat.tmp.old", base.Path() / "001.dat.tmp"};
  for (const auto& p : removed) std::ofstream(p) << "x";
  for (const auto& p : kept) std::ofstream(p) << "x";
  std::filesystem::create_directories(factory / "002.dat.tmp");  // a folder: not ours

  EXPECT_EQ(RemoveStaleTemporaries(base.Path()), 3);
  for (const auto& p : removed) EXPECT_FALSE(std::filesystem::exists(p)) << p;
  for (const auto& p : kept) EXPECT_TRUE(std::filesystem::exists(p)) << p;
  EXPECT_TRUE(std::filesystem::is_directory(factory / "002.dat.tmp"));
  EXPECT_EQ(RemoveStaleTemporaries(base.Path()), 0);
  EXPECT_EQ(RemoveStaleTemporaries(base.Path() / "missing"), 0);
}

}  // namespace
}  // namespace qd3
