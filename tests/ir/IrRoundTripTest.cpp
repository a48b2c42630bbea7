// A WAV file all the way to the simulated pedal and back: read, image, upload paced by
// the pedal's acknowledgements, fetch, and the bytes compared.

#include <gtest/gtest.h>

#include <cmath>

#include "ir/IrFetch.h"
#include "ir/IrImage.h"
#include "ir/IrUpload.h"
#include "ir/WavReader.h"
#include "protocol/MessageMatch.h"
#include "protocol/Name32.h"
#include "simulator/PedalModel.h"
#include "tests/support/WavBytes.h"

namespace qd3::test {
namespace {

// 48 kHz stereo, 16-bit: a decaying tone on the left, noise-free silence on the right.
Bytes StereoWav() {
  WavLayout layout;
  layout.channels = 2;
  layout.sampleRate = 48000;
  std::vector<int> values;
  for (int i = 0; i < 3000; ++i) {
    values.push_back(static_cast<int>(30000 * std::exp(-i / 400.0) * std::sin(i * 0.05)));
    values.push_back(0);
  }
  return MakeWav(layout, Pcm16(values));
}

TEST(IrRoundTrip, WavToPedalAndBackGivesTheSameImage) {
  IrWorkingBuffer working;
  ASSERT_TRUE(ReadWav(StereoWav(), working).Ok());
  const IrImageResult made = MakeIrImage(working, IrNameFromWavPath("/irs/Round Trip.wav"));
  working.gain = made.gain;

  sim::PedalModel pedal;
  DeviceSession session;
  session.connected = true;
  TransferBuffer buffer;
  IrUpload upload(session, buffer);
  ASSERT_EQ(upload.Start(77, made.image, session.connected), PackStatus::kPacked);

  // The editor's timer and dispatcher, reduced to the upload's share.
  std::vector<uint8_t> sent;
  TransferEnd end = TransferEnd::kRunning;
  for (int tick = 0; tick < 100 && end == TransferEnd::kRunning; ++tick) {
    for (const Bytes& message : upload.OnTick().messages) {
      sent.push_back(message[kCommandOffset]);
      for (const Bytes& reply : pedal.Receive(message)) {
        const auto command = MatchFromDevice(reply);
        if (command == kCmdIrChunkAck) upload.OnChunkAck();
        if (command == kCmdIrStored) end = upload.OnStored().end;
        ASSERT_NE(command, kCmdDeviceError);
      }
    }
  }
  ASSERT_EQ(end, TransferEnd::kFinished);
  std::vector<uint8_t> expected = {kCmdIrBegin};
  expected.insert(expected.end(), 9, kCmdIrData);
  expected.push_back(kCmdIrEnd);
  EXPECT_EQ(sent, expected);
  EXPECT_EQ(Bytes(pedal.State().userIrs[77].begin(), pedal.State().userIrs[77].end()),
            Bytes(made.image.begin(), made.image.end()));

  IrFetch fetch;
  std::optional<ReceivedIr> received;
  for (const Bytes& reply : pedal.Receive(fetch.Request(77).messages.at(0))) {
    switch (*MatchFromDevice(reply)) {
      case kCmdIrBegin:
        fetch.OnBegin(reply);
        break;
      case kCmdIrData:
        fetch.OnData(reply);
        break;
      case kCmdIrEnd:
        received = fetch.OnEnd(reply).received;
        break;
      default:
        FAIL() << "unexpected reply";
    }
  }
  ASSERT_TRUE(received);
  EXPECT_EQ(received->irNumber, 77);
  EXPECT_EQ(received->bytes, Bytes(made.image.begin(), made.image.end()));

  IrWorkingBuffer shown;
  ASSERT_TRUE(LoadIrImage(received->bytes, shown));
  EXPECT_EQ(shown.gain, static_cast<int>(made.gain * 32768) / 32768.0);
  for (std::size_t i = 0; i < 1200; ++i)
    ASSERT_NEAR(shown.samples[i], working.samples[i], 1.0 / 32768);
}

}  // namespace
}  // namespace qd3::test
