// Preset files (.q3p): layout, IR blocks, names, the import's checks and questions.

#include <gtest/gtest.h>

#include <map>

#include "presets/PresetFile.h"
#include "tests/support/TempFolder.h"

namespace qd3 {
namespace {

IrImageBytes Image(uint8_t seed) {
  IrImageBytes image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + seed);
  return image;
}

struct Fixture {
  SoundParams params{};
  std::map<int, IrImageBytes> cache;

  IrImageLookup Lookup() {
    return [this](int n) -> std::optional<IrImageBytes> {
      auto it = cache.find(n);
      if (it == cache.end()) return std::nullopt;
      return it->second;
    };
  }
  std::vector<uint8_t> Build(std::string_view name = "My Lead") {
    return BuildPresetFile({name, params, "Cab Seven", "Cab Eight"}, Lookup());
  }
  void UseIr7(int high, int low) {
    params[kParamIrMode7] = 1;
    params[kParamUserIr7High] = high;
    params[kParamUserIr7Low] = low;
  }
  void UseIr8(int high, int low) {
    params[kParamIrMode8] = 1;
    params[kParamUserIr8High] = high;
    params[kParamUserIr8Low] = low;
  }
};

TEST(PresetFile, HeaderLayout) {
  Fixture f;
  for (int i = 0; i < kRecordParamCount; ++i) f.params[static_cast<std::size_t>(i)] = i;
  f.params[kParamIrMode7] = 1;
  f.params[kParamIrMode8] = 0;
  f.params[kParamUserIr7High] = 2;  // factory bank: no block
  const auto file = f.Build();
  ASSERT_EQ(file.size(), kPresetFileHeaderSize);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 6), std::string("QRBP\x01\x00", 6));
  EXPECT_EQ(std::string(file.begin() + 6, file.begin() + 38), test::Padded32("My Lead"));
  EXPECT_EQ(file[38 + 5], 5);
  EXPECT_EQ(file[38 + 64], 64);
  EXPECT_TRUE(
      std::all_of(file.begin() + 103, file.begin() + 198, [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(std::string(file.begin() + 198, file.begin() + 230), test::Padded32("Cab Seven"));
  // Position 8 uses no user IR: its label is not written.
  EXPECT_EQ(std::string(file.begin() + 230, file.begin() + 262), std::string(32, ' '));
}

TEST(PresetFile, RoundTripWithZeroOneAndTwoBlocks) {
  struct Case {
    bool ir7, ir8;
    std::size_t size;
  };
  for (const Case c : {Case{false, false, 262}, Case{true, false, 2698}, Case{false, true, 2698},
                       Case{true, true, 5134}}) {
    SCOPED_TRACE(c.size);
    Fixture f;
    f.params[1] = 77;
    if (c.ir7) f.UseIr7(0, 17);
    if (c.ir8) f.UseIr8(1, 3);
    f.cache[17] = Image(1);
    f.cache[131] = Image(2);
    const auto file = f.Build();
    ASSERT_EQ(file.size(), c.size);
    const PresetFileData data = ReadPresetFile(file);
    ASSERT_EQ(data.status, PresetFileStatus::kRead);
    EXPECT_EQ(data.name, "My Lead");
    EXPECT_EQ(data.params, f.params);
    EXPECT_EQ(data.version, 10);
    std::vector<IrImageBytes> expected;
    if (c.ir7) expected.push_back(Image(1));
    if (c.ir8) expected.push_back(Image(2));
    EXPECT_EQ(data.blocks, expected);
    EXPECT_EQ(data.position7IrName, c.ir7 ? "Cab Seven" : "");
  }
}

TEST(PresetFile, IrWithoutWholeCacheImageIsNotExported) {
  Fixture f;
  f.UseIr7(0, 5);  // not in the cache
  f.UseIr8(0, 6);
  f.cache[6] = Image(3);
  const auto data = ReadPresetFile(f.Build());
  ASSERT_EQ(data.blocks.size(), 1u);
  EXPECT_EQ(data.blocks[0], Image(3));
}

TEST(PresetFile, FactoryBankIr300IsNotExportedAndKeptOnImport) {
  Fixture f;
  f.UseIr7(2, 44);  // IR 300
  f.cache[300] = Image(4);
  f.cache[44] = Image(5);
  EXPECT_TRUE(ExportedIrNumbers(f.params).empty());
  const auto data = ReadPresetFile(f.Build());
  EXPECT_TRUE(data.blocks.empty());
  SoundParams params = data.params;
  ReaimIrReferences(params, 9);
  EXPECT_EQ(params[kParamUserIr7High], 2);
  EXPECT_EQ(params[kParamUserIr7Low], 44);
}

TEST(PresetFile, ReaimToSlot9) {
  SoundParams params{};
  params[53] = 0;
  params[54] = 17;
  params[55] = 1;
  params[56] = 17;
  ReaimIrReferences(params, 9);
  EXPECT_EQ((std::array{params[53], params[54], params[55], params[56]}), (std::array{0, 9, 1, 9}));
}

TEST(PresetFile, OneBlockServesBothIrs) {
  Fixture f;
  f.UseIr7(0, 17);
  f.UseIr8(1, 17);
  f.cache[17] = Image(1);  // the position-8 IR (145) is not cached
  const PresetFileData data = ReadPresetFile(f.Build());
  ASSERT_EQ(data.fileSize, kPresetFileOneBlockSize);
  SoundParams params = data.params;
  ReaimIrReferences(params, 9);
  const PresetFileIrPlan plan = PlanIrUploads(data, params);
  EXPECT_EQ(plan.position7Target, 9);
  EXPECT_EQ(plan.position8Target, 128 + 9);
  ASSERT_NE(SecondUploadBlock(data), nullptr);
  EXPECT_EQ(*SecondUploadBlock(data), data.blocks[0]);
}

TEST(PresetFile, TwoBlocksGoToTheirPositions) {
  Fixture f;
  f.UseIr7(0, 17);
  f.UseIr8(1, 3);
  f.cache[17] = Image(1);
  f.cache[131] = Image(2);
  const PresetFileData data = ReadPresetFile(f.Build());
  EXPECT_EQ(*SecondUploadBlock(data), Image(2));
}

TEST(PresetFile, FactoryBankReferenceNeverReceivesABlock) {
  // Position 7 on factory IR 300, position 8 on a user IR: the one block is position 8's
  // and must not overwrite user IR 44 (300 & 127) for position 7.
  Fixture f;
  f.UseIr7(2, 44);
  f.UseIr8(0, 6);
  f.cache[6] = Image(3);
  const PresetFileData data = ReadPresetFile(f.Build());
  SoundParams params = data.params;
  ReaimIrReferences(params, 9);
  const PresetFileIrPlan plan = PlanIrUploads(data, params);
  EXPECT_FALSE(plan.position7Target);
  EXPECT_EQ(plan.position8Target, 128 + 9);
}

TEST(PresetFile, VersionsAcceptedAndRefused) {
  struct Case {
    uint8_t major, minor;
    PresetFileStatus status;
  };
  for (const Case c : {Case{0, 9, PresetFileStatus::kRead}, Case{1, 0, PresetFileStatus::kRead},
                       Case{1, 1, PresetFileStatus::kUnsupportedVersion},
                       Case{2, 0, PresetFileStatus::kUnsupportedVersion}}) {
    Fixture f;
    auto file = f.Build();
    file[4] = c.major;
    file[5] = c.minor;
    const auto data = ReadPresetFile(file);
    EXPECT_EQ(data.status, c.status) << int(c.major) << "." << int(c.minor);
    if (c.status == PresetFileStatus::kUnsupportedVersion) {
      EXPECT_EQ(data.message, kTextUnsupportedFileVersion);
    }
  }
}

TEST(PresetFile, OddSizeTailIsIgnored) {
  Fixture f;
  f.UseIr7(0, 17);
  f.UseIr8(1, 3);
  f.cache[17] = Image(1);
  f.cache[131] = Image(2);
  const auto full = f.Build();
  struct Case {
    std::size_t size;
    std::size_t blocks;
  };
  for (const Case c : {Case{263, 0}, Case{2697, 0}, Case{3000, 1}, Case{5133, 1}}) {
    const std::vector<uint8_t> cut(full.begin(),
                                   full.begin() + static_cast<std::ptrdiff_t>(c.size));
    const auto data = ReadPresetFile(cut);
    ASSERT_EQ(data.status, PresetFileStatus::kRead) << c.size;
    EXPECT_EQ(data.blocks.size(), c.blocks) << c.size;
  }
  auto longer = full;
  longer.resize(7000, 0x55);
  EXPECT_EQ(ReadPresetFile(longer).blocks.size(), 2u);
  // A file whose blocks do not fit uploads nothing.
  const std::vector<uint8_t> cut(full.begin(), full.begin() + 1000);
  EXPECT_TRUE(PlanIrUploads(ReadPresetFile(cut), ReadPresetFile(cut).params).Empty());
}

TEST(PresetFile, BadFilesAreRefusedInOrder) {
  Fixture f;
  const auto good = f.Build();
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    PresetFileStatus status;
  };
  auto badMagic = good;
  badMagic[0] = 'X';
  auto badMagicNewVersion = badMagic;
  badMagicNewVersion[4] = 9;  // the magic is checked first
  std::vector<uint8_t> tooBig(kPresetFileSizeLimit, 0);
  std::copy(good.begin(), good.end(), tooBig.begin());
  const Case cases[] = {
      {"empty", {}, PresetFileStatus::kUnknownFormat},
      {"truncated header", std::vector<uint8_t>(good.begin(), good.begin() + 261),
       PresetFileStatus::kUnknownFormat},
      {"bad magic", badMagic, PresetFileStatus::kUnknownFormat},
      {"bad magic and version", badMagicNewVersion, PresetFileStatus::kUnknownFormat},
      {"8192 bytes", tooBig, PresetFileStatus::kIgnored},
  };
  for (const Case& c : cases) {
    const auto data = ReadPresetFile(c.bytes);
    EXPECT_EQ(data.status, c.status) << c.what;
    if (c.status == PresetFileStatus::kUnknownFormat) {
      EXPECT_EQ(data.message, kTextUnknownFileFormat);
    }
  }
}

TEST(PresetFile, NamesFromPaths) {
  EXPECT_EQ(PresetNameFromPath("/home/p/My Lead.q3p"), "My Lead");
  EXPECT_EQ(PresetNameFromPath("C:\\x.y\\Clean"), "Clean");
  EXPECT_EQ(PresetNameFromPath("a.b.q3p"), "a.b");
  const std::string forty = "0123456789012345678901234567890123456789";
  EXPECT_EQ(PresetNameFromPath("/t/" + forty + ".q3p"), forty);  // the entry field shows 40
  Fixture f;
  const auto file = f.Build(forty);
  EXPECT_EQ(std::string(file.begin() + 6, file.begin() + 38), forty.substr(0, 32));
  EXPECT_EQ(PresetFileStartPath("/home/p/old.q3p", "Lead"), "/home/p/Lead");
  EXPECT_EQ(PresetFileStartPath("", "Lead"), "Lead");
}

TEST(PresetFile, QuestionsDependOnTheCurrentPreset) {
  PresetFileData data;
  data.params[kParamIrMode7] = 1;
  EXPECT_TRUE(ImportQuestions(data, false, 0, 0).empty());
  EXPECT_EQ(ImportQuestions(data, true, 1, 0),
            (std::vector{ImportQuestion::kPresetNotSaved, ImportQuestion::kOverwriteUserIr}));
  // Current position 8 in use: the file's position-8 byte decides.
  EXPECT_TRUE(ImportQuestions(data, false, 0, 1).empty());
  EXPECT_STREQ(ImportQuestionText(ImportQuestion::kPresetNotSaved), kTextPresetNotSaved);
}

TEST(PresetFile, SaveAndLoadOnDisk) {
  test::TempFolder folder;
  Fixture f;
  f.UseIr7(0, 1);
  f.cache[1] = Image(9);
  const auto bytes = f.Build();
  const auto path = folder.Path() / "a.q3p";
  ASSERT_EQ(SavePresetFile(path, bytes), CacheWriteStatus::kWritten);
  EXPECT_EQ(test::ReadBytes(path), bytes);
  EXPECT_EQ(LoadPresetFile(path).blocks.size(), 1u);
  EXPECT_EQ(LoadPresetFile(folder.Path() / "missing.q3p").status, PresetFileStatus::kIgnored);
  // A failed write (no such folder) says so and leaves nothing behind.
  EXPECT_NE(SavePresetFile(folder.Path() / "no" / "a.q3p", bytes), CacheWriteStatus::kWritten);
}

}  // namespace
}  // namespace qd3
