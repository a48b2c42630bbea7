#include "protocol/MessageMatch.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "protocol/Checksum14.h"
#include "protocol/MessageBuilders.h"
#include "tests/support/TestBytes.h"

namespace qd3 {
namespace {

using test::Hex;
using test::Join;
using test::Ramp;
using test::Repeat;
using test::Text;

struct FromDeviceCase {
  std::string name;
  Bytes message;
  std::optional<DeviceCommand> expected;
};

Bytes Record(uint8_t command, uint8_t byte6) {
  return Join({Hex("F0 00 3F 6B 03"), Bytes{command, byte6}, Repeat(259, 0), Hex("F7")});
}

Bytes WithoutLastByte(Bytes message) {
  message.pop_back();
  return message;
}

TEST(MatchFromDevice, Rows) {
  const std::vector<FromDeviceCase> cases = {
      {"reset done", Hex("F0 00 3F 6B 03 57 F7"), kCmdResetDone},
      {"status carrying 0B", Hex("F0 00 3F 6B 03 57 0B F7"), std::nullopt},
      {"status of 10 bytes", Hex("F0 00 3F 6B 03 63 01 02 03 F7"), kCmdIrChunkAck},
      {"status of 11 bytes", Hex("F0 00 3F 6B 03 63 01 02 03 04 F7"), std::nullopt},
      {"status cut to 6 bytes", Hex("F0 00 3F 6B 03 57"), std::nullopt},
      {"ack", Hex("F0 00 3F 6B 03 5F F7"), kCmdAck},
      {"IR stored", Hex("F0 00 3F 6B 03 61 F7"), kCmdIrStored},
      {"device error", Hex("F0 00 3F 6B 03 62 F7"), kCmdDeviceError},
      {"write ack", Hex("F0 00 3F 6B 03 71 F7"), kCmdWriteAck},
      {"write ack alt", Hex("F0 00 3F 6B 03 7D F7"), kCmdWriteAck},
      {"write nak", Hex("F0 00 3F 6B 03 72 F7"), kCmdWriteNak},
      {"write nak alt", Hex("F0 00 3F 6B 03 7E 00 F7"), kCmdWriteNak},
      {"write next", Hex("F0 00 3F 6B 03 73 F7"), kCmdWriteNext},
      {"no status row", Hex("F0 00 3F 6B 03 20 F7"), std::nullopt},
      {"byte 0 not examined", Hex("00 00 3F 6B 03 57 F7"), kCmdResetDone},
      {"final byte not examined", Hex("F0 00 3F 6B 03 57 00"), kCmdResetDone},
      {"other manufacturer", Hex("F0 00 3F 6C 03 57 F7"), std::nullopt},
      {"loader model", Hex("F0 00 3F 6B 02 57 F7"), std::nullopt},
      {"param echo", Hex("F0 00 3F 6B 03 51 0B 01 41 F7"), kCmdParamEcho},
      {"param echo without 0B", Hex("F0 00 3F 6B 03 51 0C 01 41 F7"), std::nullopt},
      {"param echo too short", Hex("F0 00 3F 6B 03 51 0B 01 F7"), std::nullopt},
      {"preset dump", Record(kCmdPresetDump, 0x0B), kCmdPresetDump},
      {"device info, version 1.2", Record(kCmdDataBlock, 0x0C), kCmdDataBlock},
      {"IR names", Record(kCmdIrNames, 0x0B), kCmdIrNames},
      {"IR names without 0B", Record(kCmdIrNames, 0x00), std::nullopt},
      {"dump one byte short", WithoutLastByte(Record(kCmdPresetDump, 0x0B)), std::nullopt},
      {"IR name", Join({Hex("F0 00 3F 6B 03 7B 0B"), Repeat(34, 0x20), Hex("F7")}), kCmdIrName},
      {"IR name without 0B", Join({Hex("F0 00 3F 6B 03 7B 00"), Repeat(34, 0x20), Hex("F7")}),
       std::nullopt},
      {"IR begin", BuildIrBegin(1, 2785, Ramp(256)), kCmdIrBegin},
      {"IR data", BuildIrData(Ramp(256)), kCmdIrData},
      {"IR end", BuildIrEnd(Ramp(225), {}), kCmdIrEnd},
      {"IR end of 10 bytes is short with 0B", BuildIrEnd({}, {}), std::nullopt},
      {"IR end of 257 groups", Join({Hex("F0 00 3F 6B 03 66 0B"), Repeat(259, 0), Hex("F7")}),
       std::nullopt},
      {"empty", Bytes{}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MatchFromDevice(c.message), c.expected);
  }
}

// A 267-byte message with `value` at message byte `at` and a checksum that agrees with it.
Bytes RecordWithByte(uint8_t command, std::size_t at, uint8_t value) {
  Bytes m = Record(command, 0x0B);
  m[at] = value;
  const auto sum = Checksum14(std::span<const uint8_t>(m).subspan(8, 256));
  m[264] = sum.hi;
  m[265] = sum.lo;
  return m;
}

// Regression: a checksum-valid message with data bytes above 0x7F was accepted, so a
// global-settings block with d0 = 0x80 reached the editor's asserting current-preset path.
TEST(MatchFromDevice, RefusesMessagesWithTopBitDataBytes) {
  const Bytes globalSettings = RecordWithByte(kCmdDataBlock, 8, 0x80);
  ASSERT_TRUE(VerifyRecordChecksum(globalSettings));
  const std::vector<FromDeviceCase> cases = {
      {"global settings d0 = 0x80", globalSettings, std::nullopt},
      {"preset dump with 0xFF in its record", RecordWithByte(kCmdPresetDump, 100, 0xFF),
       std::nullopt},
      {"dump with top-bit checksum byte",
       [] {
         Bytes m = Record(kCmdPresetDump, 0x0B);
         m[264] = 0x81;
         return m;
       }(),
       std::nullopt},
      {"status with 0xF7 inside", Hex("F0 00 3F 6B 03 57 F7 F7"), std::nullopt},
      {"param echo value 0x90", Hex("F0 00 3F 6B 03 51 0B 01 90 F7"), std::nullopt},
      {"IR data with 0xC0",
       [] {
         Bytes m = BuildIrData(Ramp(256));
         m[100] = 0xC0;
         return m;
       }(),
       std::nullopt},
      {"the same block clean still matches", RecordWithByte(kCmdDataBlock, 8, 0x7F), kCmdDataBlock},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MatchFromDevice(c.message), c.expected);
  }
  EXPECT_EQ(MatchLoaderFromDevice(Hex("F0 00 3F 6B 02 12 80 F7")), std::nullopt);
  EXPECT_EQ(MatchLoaderFromDevice(Hex("F0 00 3F 6B 02 12 00 F7")), kLoaderReady);
  EXPECT_EQ(MatchToDevice(Hex("F0 00 3F 6B 03 23 0B 85 F7")), std::nullopt);
}

TEST(MatchToDevice, EveryEditorMessageIsItsOwnRow) {
  const Bytes record = Repeat(256, 0);
  const std::vector<std::pair<Bytes, DeviceCommand>> cases = {
      {BuildStorePreset(1, record), kCmdStorePreset},
      {BuildWriteFactoryPreset(1, record), kCmdWriteFactoryPreset},
      {BuildRestorePreset(1, record), kCmdRestorePreset},
      {BuildDataBlock(kBlockControllerMap, record), kCmdDataBlock},
      {BuildSelectPreset(3), kCmdSelectPreset},
      {BuildRequestPreset(3), kCmdRequestPreset},
      {BuildParamChange(1, 2), kCmdParamChange},
      {BuildRequestBlock(kBlockDeviceInfo), kCmdRequestBlock},
      {BuildFactoryReset(kFactoryResetAll), kCmdFactoryReset},
      {BuildBulkBegin(), kCmdBulkBegin},
      {BuildBulkEnd(), kCmdBulkEnd},
      {BuildEditorClosing(), kCmdEditorClosing},
      {BuildRequestIr(200), kCmdRequestIr},
      {BuildRequestIrNames(4), kCmdRequestIrNames},
      {BuildIrBegin(1, 2785, Ramp(256)), kCmdIrBegin},
      {BuildIrData(Ramp(256)), kCmdIrData},
      {BuildIrEnd({}, {}), kCmdIrEnd},
  };
  for (const auto& [message, command] : cases) {
    EXPECT_EQ(MatchToDevice(message), command) << std::hex << int{command};
  }
  EXPECT_FALSE(MatchToDevice(Hex("F0 00 3F 6B 03 23 0B F7")).has_value());
}

TEST(MatchToDevice, RestoredIrMessagesKeepTheirVersionByte) {
  Bytes message = BuildIrData(Ramp(256));
  message[5] = kCmdRestoreIrData;
  message[6] = 0x0A;
  EXPECT_EQ(MatchToDevice(message), kCmdRestoreIrData);
}

TEST(MatchLoader, RepliesOnBytesOneToFive) {
  EXPECT_EQ(MatchLoaderFromDevice(Hex("F0 00 3F 6B 02 12 F7")), kLoaderReady);
  EXPECT_EQ(MatchLoaderFromDevice(Hex("F0 00 3F 6B 02 14 0B F7")), kLoaderDone);
  EXPECT_EQ(MatchLoaderFromDevice(Hex("F0 00 3F 6B 02 15 00 00 00 F7")), kLoaderFailed);
  EXPECT_FALSE(MatchLoaderFromDevice(Hex("F0 00 3F 6B 02 15 00 00 00 00 F7")).has_value());
  EXPECT_FALSE(MatchLoaderFromDevice(Hex("F0 00 3F 6B 03 12 F7")).has_value());
  EXPECT_FALSE(MatchLoaderFromDevice(Hex("F0 00 3F 6B 02 10 F7")).has_value());
}

TEST(MatchLoader, EditorChunks) {
  EXPECT_EQ(MatchLoaderToDevice(BuildLoaderEnter()), kLoaderEnter);
  EXPECT_EQ(MatchLoaderToDevice(BuildLoaderBegin(481, Ramp(240))), kLoaderBegin);
  EXPECT_EQ(MatchLoaderToDevice(BuildLoaderData(Ramp(240))), kLoaderData);
  EXPECT_EQ(MatchLoaderToDevice(BuildLoaderLast(Ramp(240), {})), kLoaderData);
  EXPECT_EQ(MatchLoaderToDevice(BuildLoaderLast({}, {})), kLoaderData);
  EXPECT_FALSE(MatchLoaderToDevice(Join({Hex("F0 00 3F 6B 02 20"), Ramp(243), Hex("F7")})));
}

TEST(FieldReaders, StayInsideTheMessage) {
  EXPECT_FALSE(ReadModel(Hex("F0 00 3F 6B")).has_value());
  EXPECT_EQ(ReadModel(Hex("F0 00 3F 6B 02")), 0x02);
  EXPECT_FALSE(ReadCommand(Hex("F0 00 3F 6B 03")).has_value());
  EXPECT_EQ(ReadCommand(Hex("F0 00 3F 6B 03 41")), 0x41);
  EXPECT_FALSE(ReadVersion(Hex("F0 00 3F 6B 03 41")).has_value());
  EXPECT_EQ(ReadVersion(Record(kCmdDataBlock, 0x0C)), 0x0C);
  EXPECT_FALSE(ReadParamEcho(Hex("F0 00 3F 6B 03 51 0B 01 41")).has_value());
  EXPECT_FALSE(ReadRecordData(Repeat(266, 0)).has_value());
  EXPECT_FALSE(ReadName32(Repeat(41, 0x20), 10).has_value());
  EXPECT_FALSE(ReadName32(Repeat(41, 0x20), 1000).has_value());
}

TEST(FieldReaders, ParamEchoAndRecord) {
  const auto echo = ReadParamEcho(Hex("F0 00 3F 6B 03 51 0B 01 41 F7"));
  ASSERT_TRUE(echo.has_value());
  EXPECT_EQ(echo->index, 1);
  EXPECT_EQ(echo->raw, 65);
  // Regression: a garbled index byte used to be masked into another parameter
  // (0xC8 read as 72); it is refused instead.
  EXPECT_FALSE(ReadParamEcho(Hex("F0 00 3F 6B 03 51 0B C8 41 F7")).has_value());
  EXPECT_FALSE(ReadParamEcho(Hex("F0 00 3F 6B 03 51 0B 01 C1 F7")).has_value());

  const Bytes record = Ramp(256);
  const Bytes message = BuildStorePreset(4, record);
  const auto data = ReadRecordData(message);
  ASSERT_TRUE(data.has_value());
  EXPECT_EQ(Bytes(data->begin(), data->end()), record);
}

TEST(FieldReaders, NameAtOffset) {
  const Bytes message =
      Join({Hex("F0 00 3F 6B 03 7B 0B"), Text("Greenback"), Repeat(23, 0x20), Hex("00 00 F7")});
  EXPECT_EQ(ReadName32(message, kIrNameOffset), "Greenback");
}

Bytes Field(std::string_view text) {
  Bytes field = Text(text);
  field.resize(kNameSize, ' ');
  return field;
}

std::string Trim(const Bytes& field) {
  return TrimName32(std::span(field).first<kNameSize>());
}
bool Blank(const Bytes& field) {
  return IsBlankName32(std::span(field).first<kNameSize>());
}

TEST(Name32, TrailingSpacesAreCut) {
  EXPECT_EQ(Trim(Field("")), "");
  EXPECT_TRUE(Blank(Field("")));
  EXPECT_EQ(Trim(Field("AB")), "AB");
  EXPECT_FALSE(Blank(Field("AB")));
  EXPECT_EQ(Trim(Field("A")), "A");
  EXPECT_EQ(Trim(Field("Z Cab 4x12")), "Z Cab 4x12");
  EXPECT_EQ(Trim(Field(" X")), " X");
  const std::string full(kNameSize, 'q');
  EXPECT_EQ(Trim(Field(full)), full);
}

TEST(Name32, WriteTruncatesPadsAndKeepsSevenBits) {
  Bytes field(kNameSize, 0);
  WriteName32("Cab\xE9", std::span(field).first<kNameSize>());
  EXPECT_EQ(field, Field("Cab?"));
  WriteName32(std::string(40, 'x'), std::span(field).first<kNameSize>());
  EXPECT_EQ(field, Field(std::string(kNameSize, 'x')));
}

}  // namespace
}  // namespace qd3
