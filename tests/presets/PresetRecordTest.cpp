#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "presets/PresetRecord.h"
#include "protocol/Checksum14.h"

namespace qd3 {
namespace {

// Offsets as the record's byte table gives them, written out so that a wrong named
// constant cannot hide behind itself.
constexpr std::size_t kByteOfParam53 = 87;
constexpr std::size_t kByteOfParam54 = 88;
constexpr std::size_t kByteOfParam55 = 89;
constexpr std::size_t kByteOfParam56 = 90;
constexpr std::size_t kFirstParamByte = 34;

PresetRecord Counting() {
  PresetRecord record;
  for (std::size_t i = 0; i < kPresetRecordSize; ++i) {
    record.Bytes()[i] = static_cast<uint8_t>(i & 0x7F);
  }
  return record;
}

TEST(PresetRecord, ParamIReadsByte34PlusI) {
  const PresetRecord record = Counting();
  for (int i = 0; i < kRecordParamCount; ++i) {
    EXPECT_EQ(record.Param(i), (kFirstParamByte + static_cast<std::size_t>(i)) & 0x7F) << i;
  }
}

struct UserIrCase {
  uint8_t high;
  uint8_t low;
  int number;
};

TEST(PresetRecord, UserIrNumbersComeFromBytes87To90) {
  const UserIrCase cases[] = {{0, 0, 0}, {0, 5, 5}, {1, 5, 133}, {1, 127, 255}, {2, 31, 287}};
  for (const auto& c : cases) {
    PresetRecord record;
    record.Bytes()[kByteOfParam53] = c.high;
    record.Bytes()[kByteOfParam54] = c.low;
    record.Bytes()[kByteOfParam55] = c.low;
    record.Bytes()[kByteOfParam56] = c.high;
    EXPECT_EQ(record.UserIrNumber(UserIrPosition::kPosition7), c.number);
    EXPECT_EQ(record.UserIrNumber(UserIrPosition::kPosition8), c.low * 128 + c.high);
  }
}

TEST(PresetRecord, IrModeBytesDecideWhetherAPositionUsesAUserIr) {
  PresetRecord record;
  EXPECT_FALSE(record.UsesUserIr(UserIrPosition::kPosition7));
  record.Bytes()[74] = 1;  // parameter 40
  EXPECT_TRUE(record.UsesUserIr(UserIrPosition::kPosition7));
  EXPECT_FALSE(record.UsesUserIr(UserIrPosition::kPosition8));
  record.Bytes()[75] = 1;  // parameter 41
  EXPECT_TRUE(record.UsesUserIr(UserIrPosition::kPosition8));
}

TEST(PresetRecord, NameAsStoredKeepsPaddingAndNameUpToNulStopsAtNul) {
  PresetRecord record;
  const std::string padded = "Lead" + std::string(28, ' ');
  std::copy(padded.begin(), padded.end(), record.NameField().begin());
  EXPECT_EQ(record.NameAsStored(), padded);
  EXPECT_EQ(record.NameUpToNul(), padded);
  record.NameField()[2] = 0;
  EXPECT_EQ(record.NameUpToNul(), "Le");
  EXPECT_EQ(record.NameAsStored().size(), 32u);
}

TEST(PresetRecord, TrimmedUserIrNameCutsTrailingSpaces) {
  PresetRecord record;
  auto field = record.UserIrNameField(UserIrPosition::kPosition8);
  std::fill(field.begin(), field.end(), uint8_t{' '});
  field[0] = 'A';
  EXPECT_EQ(record.TrimmedUserIrName(UserIrPosition::kPosition8), "A");
  field[5] = 'B';
  EXPECT_EQ(record.TrimmedUserIrName(UserIrPosition::kPosition8), "A    B");
}

TEST(PresetRecord, FromPrefixZeroFillsShortInputAndIgnoresBytesBeyond256) {
  const std::vector<uint8_t> shortInput = {1, 0, 'X'};
  const PresetRecord fromShort = PresetRecord::FromPrefix(shortInput);
  EXPECT_EQ(fromShort.Bytes()[2], 'X');
  EXPECT_EQ(fromShort.Bytes()[3], 0);
  EXPECT_EQ(fromShort.Bytes()[255], 0);

  std::vector<uint8_t> longInput(300, 7);
  longInput[255] = 9;
  const PresetRecord fromLong = PresetRecord::FromPrefix(longInput);
  EXPECT_EQ(fromLong.Bytes()[255], 9);
  EXPECT_EQ(fromLong.Checksum(), Checksum14FromSum(255 * 7 + 9));
}

TEST(PresetRecord, ChecksumIsTheChecksumOfAll256Bytes) {
  PresetRecord record;
  record.Bytes().fill(1);
  EXPECT_EQ(record.Checksum(), (Checksum14Pair{2, 0}));  // 256 = 2 * 128
  EXPECT_EQ(PresetRecord{}.Checksum(), (Checksum14Pair{0, 0}));
}

}  // namespace
}  // namespace qd3
