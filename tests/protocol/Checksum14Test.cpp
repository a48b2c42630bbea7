#include "protocol/Checksum14.h"

#include <gtest/gtest.h>

#include "tests/support/TestBytes.h"

namespace qd3 {
namespace {

using test::Hex;
using test::Join;
using test::Repeat;

TEST(Checksum14, OneFollowedByZerosGivesLoOne) {
  const Bytes record = Join({Hex("01"), Repeat(255, 0)});
  EXPECT_EQ(Checksum14(record), (Checksum14Pair{0x00, 0x01}));
}

TEST(Checksum14, SumsOfAtLeast16384Wrap) {
  // 129 x 127 = 16383, the largest sum sent unchanged.
  EXPECT_EQ(Checksum14(Repeat(129, 0x7F)), (Checksum14Pair{0x7F, 0x7F}));
  EXPECT_EQ(Checksum14(Join({Repeat(129, 0x7F), Hex("01")})), (Checksum14Pair{0x00, 0x00}));
  // 256 x 127 = 32512 = 16384 + 16128; 16128 = 126 * 128.
  EXPECT_EQ(Checksum14(Repeat(256, 0x7F)), (Checksum14Pair{0x7E, 0x00}));
}

class VerifyRecord : public ::testing::Test {
 protected:
  // Record 01, 254 x 10, 7F: sum 1 + 4064 + 127 = 4192 = 32 * 128 + 96.
  Bytes mEssage = Join({Hex("F0 00 3F 6B 03 41 0B 05 01"), Repeat(254, 0x10), Hex("7F 20 60 F7")});
};

TEST_F(VerifyRecord, AcceptsHandComputedChecksum) {
  ASSERT_EQ(mEssage.size(), 267u);
  EXPECT_TRUE(VerifyRecordChecksum(mEssage));
}

TEST_F(VerifyRecord, CoversFirstAndLastRecordByte) {
  Bytes first = mEssage;
  first[8] ^= 0x01;
  Bytes last = mEssage;
  last[263] ^= 0x01;
  EXPECT_FALSE(VerifyRecordChecksum(first));
  EXPECT_FALSE(VerifyRecordChecksum(last));
}

TEST_F(VerifyRecord, IgnoresSlotAndEndBytes) {
  mEssage[7] = 0x33;
  mEssage[266] = 0x00;
  EXPECT_TRUE(VerifyRecordChecksum(mEssage));
}

TEST_F(VerifyRecord, ChecksHiAndLoSeparately) {
  Bytes hi = mEssage;
  hi[264] = 0x21;
  Bytes lo = mEssage;
  lo[265] = 0x61;
  EXPECT_FALSE(VerifyRecordChecksum(hi));
  EXPECT_FALSE(VerifyRecordChecksum(lo));
}

TEST_F(VerifyRecord, ShortMessageIsRejected) {
  mEssage.pop_back();
  EXPECT_FALSE(VerifyRecordChecksum(mEssage));
  EXPECT_FALSE(VerifyRecordChecksum({}));
}

}  // namespace
}  // namespace qd3
