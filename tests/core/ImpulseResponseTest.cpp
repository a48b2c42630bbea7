// Impulse responses between the editor and the simulated pedal: a WAV loaded into a
// user IR reaches the pedal as the same image the cache holds, a preset's uncached IRs
// are fetched one after the other, a file that is no WAV changes nothing, the pedal's
// name groups fill the list, and the factory cabinets feed the display.
#include <fstream>

#include "QD3ControlScreenNames.h"
#include "ir/IrDisplay.h"
#include "ir/IrImage.h"
#include "ir/WavReader.h"
#include "params/DependentValues.h"
#include "protocol/MessageBuilders.h"
#include "resources/factory_irs/FactoryIrWavs.h"
#include "tests/support/CoreHarness.h"
#include "tests/support/ScriptedPlatformServices.h"
#include "tests/support/WavBytes.h"

namespace qd3::test {
namespace {

// A short, decaying 48 kHz stereo response: resampled and cut by the editor.
Bytes DecayingStereoWav() {
  std::vector<int> samples;
  for (int frame = 0; frame < 3000; ++frame) {
    const int left = static_cast<int>(20000.0 * std::exp(-frame / 300.0) * ((frame % 7) - 3) / 3);
    samples.push_back(left);
    samples.push_back(-left);
  }
  WavLayout layout;
  layout.channels = 2;
  layout.sampleRate = 48000;
  return MakeWav(layout, Pcm16(samples));
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// A pedal whose current preset 2 uses user IRs `a` in position 7 and `b` in position 8.
sim::PedalState PedalUsingUserIrs(int a, int b, const sim::IrImage& imageA,
                                  const sim::IrImage& imageB) {
  sim::PedalState state = sim::DefaultPedalState();
  sim::Record& record = state.presets[2];
  sim::RecordParam(record, sim::kParamIrModeA) = 1;
  sim::RecordParam(record, sim::kParamIrAHigh) = static_cast<uint8_t>(a >> 7);
  sim::RecordParam(record, sim::kParamIrALow) = static_cast<uint8_t>(a & 0x7F);
  sim::RecordParam(record, sim::kParamIrModeB) = 1;
  sim::RecordParam(record, sim::kParamIrBHigh) = static_cast<uint8_t>(b >> 7);
  sim::RecordParam(record, sim::kParamIrBLow) = static_cast<uint8_t>(b & 0x7F);
  state.userIrs[static_cast<size_t>(a)] = imageA;
  state.userIrs[static_cast<size_t>(b)] = imageB;
  state.currentPreset = 2;
  state.editBuffer = record;
  return state;
}

sim::IrImage ImageOf(const Bytes& wav, std::string_view fileName) {
  IrWorkingBuffer buffer;
  EXPECT_TRUE(ReadWav(std::span<const uint8_t>(wav), buffer).Ok());
  const IrImageResult made = MakeIrImage(buffer, IrNameFromWavPath(fileName));
  sim::IrImage image{};
  std::copy(made.image.begin(), made.image.end(), image.begin());
  return image;
}

std::vector<int> RequestedIrs(const CoreHarness& h, size_t from) {
  std::vector<int> numbers;
  for (size_t i = from; i < h.sent.messages.size(); ++i) {
    const Bytes& m = h.sent.messages[i];
    if (m[kCommandOffset] == kCmdRequestIr) numbers.push_back(m[7] * 128 + m[8]);
  }
  return numbers;
}

TEST(ImpulseResponses, AWavLoadedIntoPosition7IsStoredOnThePedalAsTheCachedImage) {
  CoreHarness h;
  ScriptedPlatformServices platform;
  h.editor.SetPlatformServices(&platform);
  h.OpenWindow({1, kTagProgressHeading, 53, 54, 70, 71, kTagIrConversionSummary});
  ASSERT_TRUE(h.ConnectAndSettle());
  const int slot = h.editor.session.currentPreset;
  const auto wavPath = h.folder.Path() / "My Cab 2x12.wav";
  WriteFile(wavPath, DecayingStereoWav());
  platform.QueueOpenFileResult(wavPath.string());

  h.editor.LoadUserIrWav(false);
  h.RunFor(3s);

  const auto cached = h.editor.Cache()->ReadIrImage(slot);
  ASSERT_TRUE(cached.has_value());
  const sim::IrImage onPedal = h.link.Pedal().Inspect(
      [&](const sim::PedalModel& m) { return m.State().userIrs[static_cast<size_t>(slot)]; });
  EXPECT_TRUE(std::equal(cached->begin(), cached->end(), onPedal.begin()));
  EXPECT_EQ(*cached, ImageOf(DecayingStereoWav(), "My Cab 2x12.wav"));
  // The number went out in two halves, the second after the pedal's acknowledgement.
  EXPECT_EQ(h.link.Pedal().Inspect([](const sim::PedalModel& m) {
    return sim::RecordParam(m.State().editBuffer, sim::kParamIrALow);
  }),
            slot & 0x7F);
  EXPECT_EQ(h.editor.userIrNames.Name(slot), "My Cab 2x12");
  EXPECT_EQ(h.screen.At(70).str, "My Cab 2x12");
  EXPECT_NE(h.screen.At(kTagIrConversionSummary).str.find("48000"), std::string::npos)
      << h.screen.At(kTagIrConversionSummary).str;
  // The upload showed its progress under its own heading, and the panel went at its end.
  EXPECT_EQ(h.screen.At(kTagProgressHeading).str, "Sending the IR...");
  EXPECT_GT(h.screen.At(54).strHistory.size(), 3u);
  EXPECT_TRUE(h.screen.hiddenGroups.count("progresscontrols"));
}

// A user IR already loaded may be used by other presets: a second WAV replaces it only
// when the player says so, and a no leaves the pedal and the cache as they were.
TEST(ImpulseResponses, ReplacingALoadedUserIrIsAskedFirst) {
  CoreHarness h;
  ScriptedPlatformServices platform;
  h.editor.SetPlatformServices(&platform);
  h.OpenWindow({1, 53, 54, 70, 71, kTagIrConversionSummary});
  ASSERT_TRUE(h.ConnectAndSettle());
  const int slot = h.editor.session.currentPreset;
  const auto first = h.folder.Path() / "First Cab.wav";
  const auto second = h.folder.Path() / "Second Cab.wav";
  WriteFile(first, DecayingStereoWav());
  Bytes other = DecayingStereoWav();
  other[other.size() / 2] ^= 0x40;
  WriteFile(second, other);
  const auto asked = [&] {
    size_t n = 0;
    for (const auto& call : platform.Calls())
      n += call.text.find("Replace it with") != std::string::npos;
    return n;
  };

  platform.QueueOpenFileResult(first.string());  // a question here takes the default, OK
  h.editor.LoadUserIrWav(false);
  h.RunFor(3s);
  const auto loaded = h.editor.Cache()->ReadIrImage(slot);
  ASSERT_TRUE(loaded.has_value());
  platform.ClearCalls();

  platform.QueueOpenFileResult(second.string());
  platform.QueueMessageBoxResult(EMsgBoxResult::Cancel);
  h.editor.LoadUserIrWav(false);
  h.RunFor(3s);
  ASSERT_EQ(asked(), 1u);
  EXPECT_NE(platform.Calls().back().text.find("\"First Cab\""), std::string::npos);
  EXPECT_NE(platform.Calls().back().text.find("\"Second Cab.wav\""), std::string::npos);
  EXPECT_EQ(*h.editor.Cache()->ReadIrImage(slot), *loaded) << "a no keeps the IR";
  const sim::IrImage onPedal = h.link.Pedal().Inspect(
      [&](const sim::PedalModel& m) { return m.State().userIrs[static_cast<size_t>(slot)]; });
  EXPECT_TRUE(std::equal(loaded->begin(), loaded->end(), onPedal.begin()));

  platform.QueueOpenFileResult(second.string());
  platform.QueueMessageBoxResult(EMsgBoxResult::OK);
  h.editor.LoadUserIrWav(false);
  h.RunFor(3s);
  EXPECT_EQ(*h.editor.Cache()->ReadIrImage(slot), ImageOf(other, "Second Cab.wav"));
}

// After a WAV load the graph shows the loaded IR, even while the selector plays another
// cabinet, until the player picks one; nothing of the sound changes for the display.
TEST(ImpulseResponses, TheGraphShowsTheLoadedIrUntilACabinetIsPicked) {
  CoreHarness h;
  ScriptedPlatformServices platform;
  h.editor.SetPlatformServices(&platform);
  h.OpenWindow({1, 53, 54, 70, 71, kTagIrConversionSummary});
  std::vector<double> shown;
  h.editor.SetIrDisplaySink(
      [&](const IrWorkingBuffer& b) { shown.assign(b.samples.begin(), b.samples.end()); });
  ASSERT_TRUE(h.ConnectAndSettle());
  const auto pick = [&](int position) {  // as the position picker counts: 0 is flat
    h.editor.SetParameterValueFromUI(kParamIr, IrNormalizedFromPosition(position));
    h.RunFor(200ms);
    return shown;
  };
  // Position 7 plays the preset's user IR (its load button is live only then).
  h.editor.SetParameterValueFromUI(kParamIrModeA, h.editor.Params()[kParamIrModeA].ToNormalized(1));
  const std::vector<double> cabinet3 = pick(3);
  const int selector = h.editor.Params()[kParamIr].Raw();
  const auto wavPath = h.folder.Path() / "Loaded.wav";
  WriteFile(wavPath, DecayingStereoWav());
  platform.QueueOpenFileResult(wavPath.string());
  h.editor.LoadUserIrWav(false);
  h.RunFor(3s);  // uploaded and stored
  const std::vector<double> afterLoad = shown;
  EXPECT_EQ(h.editor.Params()[kParamIr].Raw(), selector) << "the selector stays";
  EXPECT_NE(afterLoad, cabinet3);
  EXPECT_EQ(pick(7), afterLoad) << "what position 7 shows";
  EXPECT_EQ(pick(3), cabinet3) << "a cabinet picked shows that one again";
}

TEST(ImpulseResponses, ADumpUsingTwoUncachedUserIrsFetchesPosition7ThenPosition8) {
  const sim::IrImage imageA = ImageOf(DecayingStereoWav(), "A.wav");
  sim::IrImage imageB = imageA;
  imageB[40] ^= 0x11;  // another response, another name
  imageB[4] = 'B';
  CoreHarness h(PedalUsingUserIrs(5, 133, imageA, imageB));
  const size_t start = h.sent.messages.size();
  ASSERT_TRUE(h.ConnectAndSettle());
  h.RunFor(2s);

  EXPECT_EQ(RequestedIrs(h, start), (std::vector<int>{5, 133}));
  const auto cachedA = h.editor.Cache()->ReadIrImage(5);
  const auto cachedB = h.editor.Cache()->ReadIrImage(133);
  ASSERT_TRUE(cachedA && cachedB);
  EXPECT_TRUE(std::equal(cachedA->begin(), cachedA->end(), imageA.begin()));
  EXPECT_TRUE(std::equal(cachedB->begin(), cachedB->end(), imageB.begin()));

  // Once both are cached, loading the preset again asks for nothing.
  const size_t again = h.sent.messages.size();
  h.editor.SendDeviceMessage(BuildSelectPreset(2));
  h.RunFor(1s);
  EXPECT_TRUE(RequestedIrs(h, again).empty());
}

TEST(ImpulseResponses, AFileThatIsNoWavChangesNothingAndSaysWhy) {
  CoreHarness h;
  ScriptedPlatformServices platform;
  h.editor.SetPlatformServices(&platform);
  h.OpenWindow({1, 70, 71});
  ASSERT_TRUE(h.ConnectAndSettle());
  const int slot = h.editor.session.currentPreset;
  const auto path = h.folder.Path() / "notes.wav";
  WriteFile(path, Bytes{'h', 'e', 'l', 'l', 'o'});
  platform.QueueOpenFileResult(path.string());
  h.editor.ShowIr(64);
  const IrWorkingBuffer before = h.editor.irBuffer;
  const auto cachedBefore = h.editor.Cache()->ReadIrImage(slot);
  const size_t sentBefore = h.sent.messages.size();

  h.editor.LoadUserIrWav(false);
  h.RunFor(3s);

  ASSERT_EQ(platform.CountCalls(ScriptedPlatformServices::ECall::kMessageBox), 1u);
  EXPECT_NE(platform.Calls().back().text.find("could not be read as a WAV file"),
            std::string::npos);
  EXPECT_EQ(h.editor.irBuffer.samples, before.samples);
  EXPECT_EQ(h.editor.irBuffer.gain, before.gain);
  EXPECT_EQ(h.editor.Cache()->ReadIrImage(slot), cachedBefore) << "the cache is untouched";
  for (size_t i = sentBefore; i < h.sent.messages.size(); ++i) {
    EXPECT_NE(h.sent.messages[i][kCommandOffset], kCmdIrBegin) << "nothing is uploaded";
  }
}

TEST(ImpulseResponses, TheNamesOfABankArriveInFourGroups) {
  sim::PedalState state = sim::DefaultPedalState();
  const std::string name = "CLOSED BACK 57";
  std::copy(name.begin(), name.end(), state.userIrs[9].begin() + sim::kIrNameOffset32);
  std::fill(state.userIrs[9].begin() + sim::kIrNameOffset32 + name.size(),
            state.userIrs[9].begin() + sim::kIrNameOffset32 + kNameSize, ' ');
  CoreHarness h(std::move(state));
  ASSERT_TRUE(h.ConnectAndSettle());
  const size_t start = h.sent.messages.size();

  h.editor.RequestIrNames(0);
  h.RunFor(500ms);

  std::vector<int> groups;
  for (size_t i = start; i < h.sent.messages.size(); ++i) {
    if (h.sent.messages[i][kCommandOffset] == kCmdRequestIrNames) {
      groups.push_back(h.sent.messages[i][7]);
    }
  }
  EXPECT_EQ(groups, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(h.editor.irListRows.Row(9), name);
}

TEST(ImpulseResponses, TheFactoryCabinetWavsAreInstalledAndFeedTheDisplay) {
  CoreHarness h;
  h.editor.LoadCacheState();
  const FactoryIrWavData wavs = FactoryIrWavs();
  for (size_t i = 0; i < wavs.size(); ++i) {
    std::ifstream in(h.editor.Cache()->FactoryIrWavPath(i), std::ios::binary);
    const Bytes onDisk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(std::equal(onDisk.begin(), onDisk.end(), wavs[i].begin(), wavs[i].end())) << i;
  }

  // 16 stands exactly on position 1; without its cache file the WAV is the fallback.
  h.editor.ShowIr(16);
  IrWorkingBuffer expected;
  ASSERT_TRUE(ReadWav(wavs[0], expected).Ok());
  EXPECT_EQ(h.editor.irBuffer.samples, expected.samples);

  // 8 stands halfway between the flat response and position 1.
  h.editor.ShowIr(8);
  EXPECT_FLOAT_EQ(static_cast<float>(h.editor.irBuffer.samples[0]),
                  static_cast<float>(0.5 * 1.0 + 0.5 * expected.samples[0]));
  EXPECT_FLOAT_EQ(static_cast<float>(h.editor.irBuffer.samples[100]),
                  static_cast<float>(0.5 * expected.samples[100]));
}

}  // namespace
}  // namespace qd3::test

namespace qd3::test {
namespace {

// A fetched IR whose checksum fails is not cached; it is asked for once more, and a
// second failure tells the player instead of asking for ever.
TEST(ImpulseResponses, AnIrWithABadChecksumIsFetchedOnceMoreThenReported) {
  const sim::IrImage image = ImageOf(DecayingStereoWav(), "A.wav");
  CoreHarness h(PedalUsingUserIrs(7, 135, image, image));
  ASSERT_TRUE(h.ConnectAndSettle());
  h.editor.Cache()->WriteIrImage(7, std::vector<uint8_t>(kIrFileSize, 0));  // not the pedal's
  std::filesystem::remove(*h.editor.Cache()->IrFilePath(135));
  const size_t start = h.sent.messages.size();

  // Every IR transfer the pedal sends from now on carries a wrong checksum (the pedal
  // answers as a request reaches it, so the fault is armed before each one can).
  const auto corruptNext = [&] {
    h.link.Pedal().Modify([](sim::PedalModel& m) { m.Faults().corruptNextChecksum = true; });
  };
  corruptNext();
  h.editor.SendDeviceMessage(BuildRequestIr(135));
  for (int step = 0; step < 250; ++step) {
    corruptNext();
    h.RunFor(10ms);
  }

  EXPECT_FALSE(h.editor.Cache()->IsIrCached(135));
  EXPECT_EQ(RequestedIrs(h, start), (std::vector<int>{135, 135}));
  EXPECT_EQ(h.editor.session.pendingMessage, "Communication error!");
}

// A fetch that fails because this computer's receive queue overflowed says so, not that
// the pedal sent nothing; a drop before the fetch began does not change its words.
TEST(ImpulseResponses, AFetchLostToOurOwnFullReceiveQueueSaysSo) {
  struct Case {
    bool floodEachAnswer;  // 60 foreign messages ahead of every IR answer: the ring overflows
    const char* message;
  };
  const Case cases[] = {{true, kTextIrFetchDroppedHere}, {false, kTextIrFetchNoAnswer}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.floodEachAnswer ? "flooded" : "silent");
    const sim::IrImage image = ImageOf(DecayingStereoWav(), "A.wav");
    CoreHarness h(PedalUsingUserIrs(135, 136, image, image));
    ASSERT_TRUE(h.ConnectAndSettle());
    h.editor.NoteDroppedInput(2);  // an earlier loss, before this fetch
    std::filesystem::remove(*h.editor.Cache()->IrFilePath(135));
    std::filesystem::remove(*h.editor.Cache()->IrFilePath(136));
    // Everything due at once, as a link that hands over a whole period does.
    h.link.SetTiming(sim::WireTiming{.bytesPerSecond = 0, .burst = true});
    const Bytes foreign{0xF0, 0x7D, 0x01, 0xF7};
    h.editor.SetDeviceMessageSink([&](std::span<const uint8_t> m) {
      h.sent.messages.emplace_back(m.begin(), m.end());
      if (m[kCommandOffset] == kCmdRequestIr) {
        if (c.floodEachAnswer) {
          for (int i = 0; i < 60; ++i) h.link.Pedal().InjectReply(foreign);
        } else {
          h.link.Pedal().SetSilent(true);
        }
      }
      h.ports.SendDeviceMessage(m);
    });
    h.editor.session.pendingMessage.clear();
    h.editor.Reconnect();  // the handshake loads preset 2 again and fetches its IRs
    for (int step = 0; step < 150 && h.editor.session.pendingMessage.empty(); ++step) {
      h.RunFor(100ms);
      h.editor.NoteDroppedInput(2 + h.ports.Queues().DroppedSysexCount());  // as the host does
    }
    EXPECT_EQ(h.ports.Queues().DroppedSysexCount() > 0, c.floodEachAnswer);
    EXPECT_FALSE(h.editor.Cache()->IsIrCached(135));
    EXPECT_EQ(h.editor.session.pendingMessage, c.message);
  }
}

// An IR begin announcing more than the 4096-byte receive buffer is refused whole; its
// data and end chunks write nothing anywhere (the sanitizers watch the buffer).
TEST(ImpulseResponses, AnIrTooLargeForTheReceiveBufferIsRefusedWhole) {
  CoreHarness h;
  ASSERT_TRUE(h.ConnectAndSettle());
  const Bytes groups(256, 0x55);
  const auto receive = [&](const Bytes& m) { h.editor.HandleDeviceMessage(m.data(), m.size()); };
  receive(BuildIrBegin(20, 5000, groups));  // 5000 groups unpack to 4375 bytes
  for (int chunk = 0; chunk < 20; ++chunk) receive(BuildIrData(groups));
  receive(BuildIrEnd(Bytes(136, 0x55), Checksum14Pair{0, 0}));
  EXPECT_FALSE(h.editor.Cache()->IsIrCached(20));
}

}  // namespace
}  // namespace qd3::test
