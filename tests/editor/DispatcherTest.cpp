// Recognising the pedal's messages and what each one changes.
#include <fstream>
#include "protocol/DeviceReplies.h"
#include "protocol/MessageBuilders.h"

#include "tests/editor/EditorFixture.h"
#include "tests/support/ScriptedPlatformServices.h"
#include "tests/support/TempFolder.h"

namespace qd3::test {
namespace {

class DispatcherTest : public EditorTest {
 protected:
  void ConnectWithAck() { Connect(); }
  static Bytes GlobalBlock(std::initializer_list<std::pair<int, uint8_t>> bytes) {
    std::array<uint8_t, 256> data{};
    for (const auto& [messageByte, value] : bytes)
      data[static_cast<size_t>(messageByte - 8)] = value;
    Bytes m = BuildDataBlock(kBlockGlobalSettings, data);
    return m;
  }
};

TEST_F(DispatcherTest, StatusMessagesCarryNoVersionByte) {
  Receive({0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x57, 0x0B, 0xF7});
  EXPECT_FALSE(mEditor.session.resetDoneSeen);
  Receive({0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x57, 0xF7});
  EXPECT_TRUE(mEditor.session.resetDoneSeen);

  // The timer then reports the reset and asks for the checksums, whose synchronisation
  // reads the presets the reset replaced and ends with the settings.
  mEditor.OnDeviceTimer();
  EXPECT_FALSE(mEditor.session.resetDoneSeen);
  ASSERT_EQ(mSent.messages.size(), 1u);
  EXPECT_EQ(mSent.messages[0], BuildRequestBlock(kBlockPresetChecksums));
}

TEST_F(DispatcherTest, ParamEchoSetsTheParameterWithoutEchoingIt) {
  ConnectWithAck();
  Receive(BuildParamEcho(1, 100));
  EXPECT_EQ(mEditor.Params()[1].Raw(), 100);
  EXPECT_EQ(mEditor.liveValues[1], 100);
  EXPECT_TRUE(mSent.messages.empty());
  EXPECT_FALSE(mEditor.session.applyingDeviceValues);
  // The echo normalizes against the parameter's own range.
  Receive(BuildParamEcho(19, 4));
  EXPECT_EQ(mEditor.Params()[19].Raw(), 4);
  Receive(BuildParamEcho(kParamCompression, 100));
  EXPECT_EQ(mEditor.Params()[kParamCompression].Raw(), 100);
}

TEST_F(DispatcherTest, ParamEchoOutsideTheCatalogueIsDropped) {
  ConnectWithAck();
  const std::array<uint8_t, 2> bad[] = {{0x8B, 0x10}, {0xC8, 0x10}, {0xFF, 0x7F}};
  for (const auto& [index, value] : bad) {
    Receive({0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x51, 0x0B, index, value, 0xF7});
  }
  for (int i = 0; i < kNumParams; ++i) {
    EXPECT_EQ(mEditor.Params()[i].Value(), mEditor.Params()[i].Info().defaultValue) << i;
  }
}

TEST_F(DispatcherTest, AckSendsTheLowHalfOfAUserIrNumber) {
  ConnectWithAck();
  mSeam.AwaitIrNumberAck(false, 200);
  SetRaw(kParamUserIrAHigh, 1);
  ASSERT_EQ(mSent.messages.size(), 1u);
  EXPECT_EQ(mSent.messages[0], BuildParamChange(57, 1));
  Receive(BuildStatus(kCmdAck));
  EXPECT_EQ(mEditor.session.irNumberStep, kParamUserIrALow);
  ASSERT_EQ(mSent.messages.size(), 2u);
  EXPECT_EQ(mSent.messages[1], BuildParamChange(58, 72));
  EXPECT_EQ(mEditor.session.userIrA, 200);
  // A further acknowledgement changes nothing.
  Receive(BuildStatus(kCmdAck));
  EXPECT_EQ(mSent.messages.size(), 2u);

  mSeam.AwaitIrNumberAck(true, 255);
  Receive(BuildStatus(kCmdAck));
  EXPECT_EQ(mSent.messages.back(), BuildParamChange(60, 127));
}

TEST_F(DispatcherTest, ShortStatusReplies) {
  Receive(BuildStatus(kCmdDeviceError));
  EXPECT_TRUE(mEditor.session.messagePending);
  EXPECT_EQ(mEditor.session.pendingMessage, "ERROR!");
  Receive(BuildStatus(kCmdIrChunkAck));
  EXPECT_TRUE(mEditor.session.irUploadNext);
}

TEST_F(DispatcherTest, LoaderReplies) {
  ScriptedPlatformServices platform;
  mEditor.SetPlatformServices(&platform);
  TempFolder folder;
  const auto image = folder.Path() / "fw.ldr";
  std::ofstream(image, std::ios::binary) << std::string(1000, '\x21');
  OpenWindow();
  auto start = [&] {
    mEditor.OpenFirmwareUpdate();
    platform.QueueOpenFileResult(image.string());
    mEditor.StartFirmwareUpdate();
    ASSERT_FALSE(mSent.messages.empty());
    ASSERT_EQ(mSent.messages.back(), BuildLoaderEnter());
  };

  // A ready nobody asked for streams nothing.
  Receive(BuildLoaderReply(kLoaderReady));
  EXPECT_FALSE(mEditor.session.firmwareMode);

  start();
  Receive(BuildLoaderReply(kLoaderReady));
  EXPECT_TRUE(mEditor.session.firmwareMode);
  EXPECT_EQ(mScreen.hiddenGroups.count("firmwarecontrols"), 0u);
  EXPECT_EQ(mScreen.disabledGroups.count("fwupdatecontrols"), 1u);
  Receive(BuildLoaderReply(kLoaderDone));
  EXPECT_FALSE(mEditor.session.firmwareMode);
  EXPECT_FALSE(mEditor.session.connected);
  EXPECT_FALSE(mEditor.session.messagePending) << "done before the image was sent is no success";

  start();
  Receive(BuildLoaderReply(kLoaderReady));
  Receive(BuildLoaderReply(kLoaderFailed));
  EXPECT_FALSE(mEditor.session.firmwareMode);
  EXPECT_FALSE(mEditor.session.connected);
  EXPECT_EQ(mEditor.session.pendingMessage, "Error in update!");
}

TEST_F(DispatcherTest, GlobalSettingsBlockSetsTheSettingsAndAsksForTheCurrentPreset) {
  ConnectWithAck();
  mSeam.SetApplyingDeviceValues(true);
  // byte 8 current preset, 9..18 parameters 80..89, 19..21 33..35, 24 parameter 90.
  Receive(GlobalBlock({{8, 42},
                       {11, 1},
                       {13, 16},
                       {14, 2},
                       {16, 24},
                       {18, 2},
                       {19, 10},
                       {20, 20},
                       {21, 30},
                       {24, 1}}));
  EXPECT_FALSE(mEditor.session.applyingDeviceValues);
  EXPECT_EQ(mEditor.Params()[82].Raw(), 1);
  EXPECT_EQ(mEditor.Params()[84].Raw(), 16);
  EXPECT_EQ(mEditor.Params()[85].Raw(), 1) << "travels as 2, read as 1";
  EXPECT_EQ(mEditor.Params()[87].Raw(), 24);
  EXPECT_EQ(mEditor.Params()[89].Raw(), 2);
  EXPECT_EQ(mEditor.Params()[33].Raw(), 10);
  EXPECT_EQ(mEditor.Params()[35].Raw(), 30);
  EXPECT_EQ(mEditor.Params()[90].Raw(), 1);
  EXPECT_EQ(mEditor.liveValues[34], 20) << "recorded, not sent";
  ASSERT_EQ(mSent.messages.size(), 2u);
  EXPECT_EQ(mSent.messages[0], BuildBulkEnd());
  EXPECT_EQ(mSent.messages[1], BuildRequestPreset(42));
}

TEST_F(DispatcherTest, BlocksWithABadChecksumAreDropped) {
  ConnectWithAck();
  Bytes block = GlobalBlock({{8, 3}, {11, 1}});
  block[kChecksumHiOffset] ^= 0x01;
  Receive(block);
  EXPECT_EQ(mEditor.Params()[82].Raw(), 0);
  EXPECT_TRUE(mSent.messages.empty());
}

TEST_F(DispatcherTest, ControllerAndProgramMaps) {
  ConnectWithAck();
  std::array<uint8_t, 256> data{};
  for (int k = 0; k < 8; ++k) data[static_cast<size_t>(k)] = static_cast<uint8_t>(20 + k);
  data[8] = 99;  // beyond the eight knobs: not applied
  Receive(BuildDataBlock(kBlockControllerMap, data));
  for (int k = 0; k < 8; ++k) EXPECT_EQ(mEditor.Params()[91 + k].Raw(), 20 + k);

  for (int i = 0; i < 128; ++i) data[static_cast<size_t>(i)] = static_cast<uint8_t>(127 - i);
  mEditor.Params()[kParamControllerProgram].Set(5);
  Receive(BuildDataBlock(kBlockProgramMap, data));
  EXPECT_EQ(mEditor.programMap[0], 127);
  EXPECT_EQ(mEditor.programMap[127], 0);
  EXPECT_EQ(mEditor.Params()[kParamDeviceProgram].Raw(), 122);
}

TEST_F(DispatcherTest, UnconnectedSettingsBlockSetsOnlyTheHardwareParameters) {
  std::array<uint8_t, 256> data{};
  data[3] = 1;   // parameter 82, not applied while unconnected
  data[11] = 5;  // parameter 33
  Receive(BuildDataBlock(kBlockGlobalSettings, data));
  EXPECT_EQ(mEditor.Params()[82].Raw(), 0);
  EXPECT_EQ(mEditor.Params()[33].Raw(), 5);
  EXPECT_FALSE(mEditor.session.connected);
}

TEST_F(DispatcherTest, FortyTwoByteMessageIsOnlyEverAnIrName) {
  mScreen.Add(94);
  mEditor.AttachScreen(&mScreen);
  Receive(BuildIrName("Greenback 4x12"));
  EXPECT_EQ(mScreen.At(94).str, "Greenback 4x12");
  // Without the version byte it is nothing at all.
  Bytes unversioned = BuildIrName("Other");
  unversioned[6] = 0x00;
  Receive(unversioned);
  EXPECT_EQ(mScreen.At(94).str, "Greenback 4x12");
}

TEST_F(DispatcherTest, GarbageOfEveryLengthIsDroppedQuietly) {
  ConnectWithAck();
  for (size_t length = 0; length <= 300; ++length) {
    Bytes junk(length, 0x7F);
    if (length > 5) {
      junk[0] = 0xF0;
      junk[1] = 0x00;
      junk[2] = 0x3F;
      junk[3] = 0x6B;
      junk[4] = 0x03;
      junk[5] = 0x41;
    }
    Receive(junk);
  }
  mEditor.HandleDeviceMessage(nullptr, 10);
  EXPECT_TRUE(mSent.messages.empty());
  EXPECT_FALSE(mEditor.session.messagePending);
}

}  // namespace
}  // namespace qd3::test

namespace qd3::test {
namespace {

class SyncEdgeTest : public EditorTest {
 protected:
  void Receive(const Bytes& m) { mEditor.HandleDeviceMessage(m.data(), m.size()); }
  static Bytes Dump(int slot, uint8_t level) {
    std::array<uint8_t, 256> record{};
    record[0] = 1;
    record[34] = level;
    return BuildPresetDump(slot, record);
  }
};

// Regression: a dump arriving after the checksum block but before the run's first
// request was taken as slot -1 of the run (a bad one asked for slot -1).
TEST_F(SyncEdgeTest, ADumpBeforeTheFirstSyncRequestIsTheCurrentPreset) {
  Connect();
  std::array<uint8_t, 256> slot0Differs{};
  slot0Differs[1] = 1;
  Receive(BuildDataBlock(kBlockPresetChecksums, slot0Differs));
  ASSERT_TRUE(mEditor.session.readAllActive);
  ASSERT_EQ(mEditor.session.readIndex, -1);
  Bytes bad = Dump(3, 90);
  bad[kChecksumLoOffset] ^= 1;
  Receive(bad);
  EXPECT_TRUE(mSent.messages.empty());
  Receive(Dump(3, 90));
  EXPECT_EQ(mEditor.session.currentPreset, 3);
  EXPECT_EQ(mEditor.Params()[0].Raw(), 90);
  EXPECT_TRUE(mSent.messages.empty());
  EXPECT_TRUE(mEditor.session.readAllActive) << "the run itself still starts on the timer";
  EXPECT_EQ(mEditor.session.readIndex, -1);
}

// Regression: a run cut short by RECONNECT stayed active when the next checksum
// block had nothing to read, and took the next current-preset dump for its own.
TEST_F(SyncEdgeTest, AChecksumBlockWithoutDifferencesEndsAStaleRun) {
  Connect();
  std::array<uint8_t, 256> slot5Differs{};
  slot5Differs[11] = 1;
  Receive(BuildDataBlock(kBlockPresetChecksums, slot5Differs));
  mEditor.OnDeviceTimer();  // the bracket
  mEditor.OnDeviceTimer();  // the request of slot 5
  ASSERT_EQ(mEditor.session.readIndex, 5);
  mEditor.Reconnect();  // the run is cut short and the pedal found again
  Receive(BuildDeviceInfo(kFormatVersion, "QD3 TEST PEDAL"));
  mSent.Clear();
  const std::array<uint8_t, 256> sameAsTable{};
  Receive(BuildDataBlock(kBlockPresetChecksums, sameAsTable));
  EXPECT_FALSE(mEditor.session.readAllActive);
  ASSERT_EQ(mSent.messages.size(), 1u);
  EXPECT_EQ(mSent.messages[0], BuildRequestBlock(kBlockGlobalSettings));
  Receive(Dump(9, 33));
  EXPECT_EQ(mEditor.session.currentPreset, 9);
  EXPECT_EQ(mEditor.Params()[0].Raw(), 33);
}

}  // namespace
}  // namespace qd3::test

namespace qd3::test {
namespace {

// Regression: an echo cleared applyingDeviceValues instead of restoring it, so an echo
// that came before the first settings block let the player's edits out early.
TEST_F(DispatcherTest, AnEchoBeforeTheFirstSettingsBlockKeepsEditsFromBeingSent) {
  Receive(BuildDeviceInfo(kFormatVersion, "QD3 TEST PEDAL"));  // connected, values unknown
  ASSERT_TRUE(mEditor.session.applyingDeviceValues);
  Receive({0xF0, 0x00, 0x3F, 0x6B, 0x03, 0x51, 0x0B, 0x02, 0x10, 0xF7});
  EXPECT_TRUE(mEditor.session.applyingDeviceValues);
  mSent.Clear();
  SetRaw(1, 99);
  EXPECT_TRUE(mSent.messages.empty());
}

}  // namespace
}  // namespace qd3::test
