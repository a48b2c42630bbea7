// Data blocks in both directions, the device-info reply and the factory resets.

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "simulator/DefaultState.h"
#include "tests/simulator/SimTestSupport.h"

namespace qd3::sim::test {
namespace {

Bytes Block(DataBlockType type, const std::array<uint8_t, 256>& data) {
  return BuildDataBlock(type, data);
}

TEST_F(PedalTest, DeviceInfoReplyIsByteExact) {
  mPedal.State().serial = "SN-0042";
  const Replies replies = Send("F0 00 3F 6B 03 55 0B 0F F7");
  ASSERT_EQ(replies.size(), 1u);

  // Written out by hand: version 11 in byte 6, type 15, 224 zero bytes, the serial padded
  // with spaces to 32 characters, the sum of the 256 data bytes, F7.
  Bytes expected = Hex("F0 00 3F 6B 03 52 0B 0F");
  expected.resize(8 + 224, 0);
  const std::string serial = "SN-0042" + std::string(25, ' ');
  expected.insert(expected.end(), serial.begin(), serial.end());
  uint32_t sum = 0;
  for (const char c : serial) sum += static_cast<uint8_t>(c);
  expected.push_back(static_cast<uint8_t>((sum >> 7) & 0x7F));
  expected.push_back(static_cast<uint8_t>(sum & 0x7F));
  expected.push_back(0xF7);
  EXPECT_EQ(replies[0], expected);
}

TEST_F(PedalTest, DeviceInfoCarriesTheSetVersion) {
  mPedal.State().firmwareVersion = 9;
  const Bytes reply = Send("F0 00 3F 6B 03 55 0B 0F F7").at(0);
  EXPECT_EQ(reply[6], 9);
  EXPECT_EQ(reply[7], 15);
  EXPECT_EQ(std::string(reply.begin() + 232, reply.begin() + 264),
            std::string(kDefaultSerial) + std::string(32 - std::strlen(kDefaultSerial), ' '));
  ExpectRecordMessage(reply, 0x52, 15, 9);
}

TEST_F(PedalTest, DefaultGlobalSettingsBlock) {
  const Replies replies = Send("F0 00 3F 6B 03 55 0B 00 F7");
  ASSERT_EQ(replies.size(), 1u);
  ExpectRecordMessage(replies[0], 0x52, 0);
  const Bytes data = DataOf(replies[0]);
  Bytes expected(256, 0);
  expected[8] = 12;  // tuner 440 Hz
  // d11..d13 are parameters 33..35 of the current preset's edit buffer.
  expected[11] = RecordParam(mPedal.State().editBuffer, 33);
  expected[12] = RecordParam(mPedal.State().editBuffer, 34);
  expected[13] = RecordParam(mPedal.State().editBuffer, 35);
  EXPECT_EQ(data, expected);
}

TEST_F(PedalTest, GlobalSettingsWrittenAreReportedBack) {
  std::array<uint8_t, 256> data{};
  data[0] = 77;  // the editor's idea of the current preset does not select anything
  for (int d = 1; d <= 10; ++d) data[d] = 1;
  data[5] = 16;  // channel 16
  data[6] = 2;   // numeric pot display
  data[8] = 24;
  data[10] = 2;
  data[11] = 100;
  data[12] = 101;
  data[13] = 102;
  data[14] = 9;  // unused bytes are not kept
  data[16] = 1;
  data[200] = 5;
  EXPECT_TRUE(Send(Block(kBlockGlobalSettings, data)).empty());

  const Bytes back = DataOf(Send("F0 00 3F 6B 03 55 0B 00 F7").at(0));
  std::array<uint8_t, 256> expected = data;
  expected[0] = 0;
  expected[14] = 0;
  expected[200] = 0;
  EXPECT_EQ(back, Bytes(expected.begin(), expected.end()));
  EXPECT_TRUE(PresetProtectionOn(mPedal.State()));
  EXPECT_EQ(RecordParam(mPedal.State().editBuffer, 34), 101);
  EXPECT_EQ(mPedal.State().currentPreset, 0);
}

TEST_F(PedalTest, GlobalSettingsAreLimitedToTheirRanges) {
  std::array<uint8_t, 256> data{};
  data[3] = 5;   // patch offset 0..1
  data[6] = 1;   // any display mode above 0 is stored as 2
  data[8] = 90;  // tuner 0..24
  data[5] = 40;  // channel 0..16
  Send(Block(kBlockGlobalSettings, data));
  const Bytes back = DataOf(Send("F0 00 3F 6B 03 55 0B 00 F7").at(0));
  EXPECT_EQ(back[3], 1);
  EXPECT_EQ(back[6], 2);
  EXPECT_EQ(back[8], 24);
  EXPECT_EQ(back[5], 16);
}

TEST_F(PedalTest, ControllerAndProgramMapsRoundTrip) {
  const Bytes defaultsCc = DataOf(Send("F0 00 3F 6B 03 55 0B 01 F7").at(0));
  Bytes expectedCc(256, 0);
  for (int k = 0; k < 8; ++k) expectedCc[k] = static_cast<uint8_t>(16 + k);
  EXPECT_EQ(defaultsCc, expectedCc);
  const Bytes defaultsProgram = DataOf(Send("F0 00 3F 6B 03 55 0B 02 F7").at(0));
  for (int p = 0; p < 128; ++p) EXPECT_EQ(defaultsProgram[p], p);

  std::array<uint8_t, 256> cc{};
  for (int k = 0; k < 8; ++k) cc[k] = static_cast<uint8_t>(100 + k);
  cc[8] = 33;  // beyond the eight knobs: not kept
  Send(Block(kBlockControllerMap, cc));
  std::array<uint8_t, 256> program{};
  for (int p = 0; p < 128; ++p) program[p] = static_cast<uint8_t>(127 - p);
  program[10] = 42;
  Send(Block(kBlockProgramMap, program));

  const Bytes ccBack = DataOf(Send("F0 00 3F 6B 03 55 0B 01 F7").at(0));
  EXPECT_EQ(Bytes(ccBack.begin(), ccBack.begin() + 9), Hex("64 65 66 67 68 69 6A 6B 00"));
  const Replies programBack = Send("F0 00 3F 6B 03 55 0B 02 F7");
  ExpectRecordMessage(programBack.at(0), 0x52, 2);
  EXPECT_EQ(DataOf(programBack[0]), Bytes(program.begin(), program.end()));
}

TEST_F(PedalTest, BlocksWithBadChecksumOrReadOnlyTypeAreIgnored) {
  std::array<uint8_t, 256> program{};
  Bytes bad = Block(kBlockProgramMap, program);
  bad[264] ^= 1;
  std::array<uint8_t, 256> sums{};
  const PedalState before = mPedal.State();
  EXPECT_TRUE(Send(bad).empty());
  EXPECT_TRUE(Send(Block(kBlockPresetChecksums, sums)).empty());
  EXPECT_TRUE(Send(Block(kBlockDeviceInfo, sums)).empty());
  EXPECT_EQ(mPedal.State(), before);
  EXPECT_EQ(mPedal.Counters().ignored, 3);
}

TEST_F(PedalTest, ResetSettingsRestoresSettingsAndMapsOnly) {
  std::array<uint8_t, 256> data{};
  data[9] = 1;
  Send(Block(kBlockGlobalSettings, data));
  std::array<uint8_t, 256> program{};
  Send(Block(kBlockProgramMap, program));
  Send(BuildStorePreset(0, DefaultPresetRecord(99)));  // refused: protection is on
  mPedal.State().presets[1] = DefaultPresetRecord(98);

  ASSERT_EQ(Send("F0 00 3F 6B 03 56 0B 02 F7").size(), 1u);
  const PedalState defaults = DefaultPedalState();
  EXPECT_EQ(mPedal.State().globals, defaults.globals);
  EXPECT_EQ(mPedal.State().programMap, defaults.programMap);
  EXPECT_EQ(mPedal.State().presets[1], DefaultPresetRecord(98));
}

TEST_F(PedalTest, ResetPresetsCopiesTheFactoryBankWhichFactoryWritesChange) {
  Send("F0 00 3F 6B 03 23 0B 02 F7");
  mPedal.State().presets[7] = DefaultPresetRecord(70);
  Record written = DefaultPresetRecord(120);
  RecordParam(written, 0) = 1;
  ASSERT_EQ(Send(BuildWriteFactoryPreset(3, written)).at(0), Hex("F0 00 3F 6B 03 7D F7"));
  EXPECT_EQ(mPedal.State().presets[3], DefaultPresetRecord(3))
      << "a factory write goes to the bank";

  ASSERT_EQ(Send("F0 00 3F 6B 03 56 0B 01 F7").at(0), Hex("F0 00 3F 6B 03 57 F7"));
  EXPECT_EQ(mPedal.State().presets[7], DefaultPresetRecord(7));
  EXPECT_EQ(mPedal.State().presets[3], written);
  EXPECT_EQ(mPedal.State().currentPreset, 2);
  EXPECT_EQ(mPedal.State().editBuffer, mPedal.State().presets[2]);
}

TEST_F(PedalTest, ResetAllRestoresPresetsSettingsAndIrs) {
  Send("F0 00 3F 6B 03 23 0B 09 F7");
  mPedal.State().userIrs[0] = EmptyIrImage();
  mPedal.State().cabinetIrs[2] = EmptyIrImage();
  mPedal.State().globals[9] = 1;
  mPedal.State().presets[5] = DefaultPresetRecord(6);
  mPedal.State().serial = "KEEP ME";
  mPedal.State().firmwareVersion = 12;

  Send("F0 00 3F 6B 03 56 0B 00 F7");
  PedalState expected = DefaultPedalState();
  expected.serial = "KEEP ME";
  expected.firmwareVersion = 12;
  EXPECT_EQ(mPedal.State(), expected);
}

}  // namespace
}  // namespace qd3::sim::test
