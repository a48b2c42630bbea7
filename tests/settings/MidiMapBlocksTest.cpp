#include <gtest/gtest.h>

#include "protocol/Checksum14.h"
#include "protocol/DeviceMessages.h"
#include "settings/MidiMapBlocks.h"

namespace qd3 {
namespace {

std::array<uint8_t, kRecordSize> DataOf(const Bytes& m) {
  std::array<uint8_t, kRecordSize> data{};
  std::copy_n(m.begin() + kRecordOffset, kRecordSize, data.begin());
  return data;
}

TEST(ProgramMapBlock, CarriesTheMapInTheFirst128BytesOfTypeTwo) {
  ProgramMap map = IdentityProgramMap();
  map[10] = 42;
  const Bytes m = BuildProgramMapBlock(map);
  ASSERT_EQ(m.size(), 267u);
  EXPECT_EQ(m[kSelectorOffset], kBlockProgramMap);
  EXPECT_TRUE(VerifyRecordChecksum(m));
  const auto data = DataOf(m);
  for (size_t p = 0; p < 128; ++p) EXPECT_EQ(data[p], p == 10 ? 42 : p) << p;
  for (size_t i = 128; i < kRecordSize; ++i) EXPECT_EQ(data[i], 0) << i;
  EXPECT_EQ(DecodeProgramMap(data), map);
}

TEST(ControllerMapBlock, CarriesEightControllerNumbersOfTypeOne) {
  const KnobControllers controllers{20, 21, 22, 23, 24, 25, 26, 127};
  const Bytes m = BuildControllerMapBlock(controllers);
  EXPECT_EQ(m[kSelectorOffset], kBlockControllerMap);
  EXPECT_TRUE(VerifyRecordChecksum(m));
  const auto data = DataOf(m);
  for (size_t k = 0; k < 8; ++k) EXPECT_EQ(data[k], controllers[k]);
  for (size_t i = 8; i < kRecordSize; ++i) EXPECT_EQ(data[i], 0) << i;
  EXPECT_EQ(DecodeControllerMap(data), controllers);
}

TEST(ControllerMapBlock, BytesAfterTheEightKnobsAreNotPartOfTheMap) {
  std::array<uint8_t, kRecordSize> data{};
  data[7] = 9;
  data[8] = 77;
  const KnobControllers controllers = DecodeControllerMap(data);
  EXPECT_EQ(controllers[7], 9);
  EXPECT_EQ(controllers, (KnobControllers{0, 0, 0, 0, 0, 0, 0, 9}));
}

}  // namespace
}  // namespace qd3
