// The fault matrix: every transfer against every fault the simulated pedal can show. A
// cell passes when the transfer is over within a bounded (virtual) time, in success or
// with exactly the one message box its row names; when the cache and every file written
// are complete (no temporary left, every cached preset and IR whole, the bank file absent
// or valid); and when the editor, the fault cleared, connects again and its cache then
// matches the pedal.
#include <algorithm>
#include <fstream>
#include <string_view>

#include "QD3ControlScreenNames.h"
#include "presets/BankFile.h"
#include "protocol/Checksum14.h"
#include "protocol/MessageBuilders.h"
#include "tests/fault/FaultRun.h"
#include "tests/support/WavBytes.h"

namespace qd3::test {
namespace {

enum class Transfer : uint8_t {
  kSync,
  kCurrentPreset,
  kIrUpload,
  kIrFetch,
  kBankExport,
  kBankImport,
  kFactoryWrite,
  kFirmware,
  kSettingsBlock,
  kMapBlock,
};

constexpr int kFetchedIr = 140;  // the user IR the current preset uses and the cache lacks

// The texts a row may expect. A row names the boxes shown after the fault struck, in
// order, separated by '|'; "" is none. A pedal of a firmware this editor predates is
// told at every poll it answers, so that text is counted once however often it came.
constexpr char kNone[] = "";
constexpr char kFinished[] = "Finished successfully!";
constexpr char kSyncStopped[] = "stopped answering while its presets were read";
constexpr char kSettingsUnanswered[] = "did not answer the request for its global settings";
constexpr char kPresetUnanswered[] = "did not answer the request for its current preset";
constexpr char kMapUnanswered[] = "did not answer the request for its program map";
constexpr char kUploadUnconfirmed[] = "did not confirm the IR upload";
constexpr char kIrNotSent[] = "did not send the requested IR";
constexpr char kExportStopped[] = "The export was stopped and no file was written.";
constexpr char kImportStopped[] = "The import was stopped; the presets sent so far stay";
constexpr char kImportDone[] = "Finished successfully!|All 128 presets restored and verified.";
constexpr char kImportStoppedThenVerified[] =
    "The import was stopped; the presets sent so far stay|All 128 presets restored";
constexpr char kFactoryStopped[] = "The factory preset update was stopped.";
constexpr char kRefusedWrite[] = "Communication error!";
constexpr char kDeviceError[] = "ERROR!";
constexpr char kLoaderSilent[] = "The pedal's loader does not answer.";
constexpr char kFirmwareDone[] = "Firmware update finished.";
constexpr char kOutOfDate[] = "Editor version out of date.";
constexpr char kStoppedThenOutOfDate[] = "stopped answering|Editor version out of date.";
// The pedal comes back refusing before the transfer's own wait runs out: every box is
// shown, in the order the editor raised them, the refusal again at the next poll.
constexpr char kOutOfDateAroundStopped[] =
    "Editor version out of date.|stopped answering|Editor version out of date.";
constexpr char kOutOfDateAroundLoaderSilent[] =
    "Editor version out of date.|The pedal's loader does not answer.|Editor version out of "
    "date.";

constexpr int kOtherCurrentPreset = 5;

struct Cell {
  Transfer transfer;
  Fault fault;
  const char* boxes;  // the message boxes shown after the fault struck
};

// Refused writes do not touch transfers that only read; the firmware loader takes no
// refusal. Answers in bursts, late (within every wait) or jittered change nothing but the
// time taken; a damaged IR chunk is asked for again. One lost answer is asked for again by the
// session's requests, the synchronisation, the IR transfers and the bank export; the bank import
// and the factory write wait for each acknowledgement and stop with their message after 5 s.
// clang-format off
constexpr Cell kMatrix[] = {
  // transfer                  fault                 message boxes after the fault
  {Transfer::kSync,          Fault::kDropOne,      kNone},
  {Transfer::kSync,          Fault::kDropMany,     kSyncStopped},
  {Transfer::kSync,          Fault::kCorrupt,      kNone},
  {Transfer::kSync,          Fault::kRefuseWrites, kNone},
  {Transfer::kSync,          Fault::kSilent,       kSyncStopped},
  {Transfer::kSync,          Fault::kUnplug,       kNone},
  {Transfer::kSync,          Fault::kOtherVersion, kOutOfDate},
  {Transfer::kSync,          Fault::kBurst,        kNone},
  {Transfer::kSync,          Fault::kDelay,        kNone},
  {Transfer::kSync,          Fault::kJitter,       kNone},
  {Transfer::kCurrentPreset, Fault::kDropOne,      kNone},
  {Transfer::kCurrentPreset, Fault::kDropMany,     kPresetUnanswered},
  {Transfer::kCurrentPreset, Fault::kCorrupt,      kNone},
  {Transfer::kCurrentPreset, Fault::kRefuseWrites, kNone},
  {Transfer::kCurrentPreset, Fault::kSilent,       kPresetUnanswered},
  {Transfer::kCurrentPreset, Fault::kUnplug,       kNone},
  {Transfer::kCurrentPreset, Fault::kOtherVersion, kOutOfDate},
  {Transfer::kCurrentPreset, Fault::kBurst,        kNone},
  {Transfer::kCurrentPreset, Fault::kDelay,        kNone},
  {Transfer::kCurrentPreset, Fault::kJitter,       kNone},
  {Transfer::kIrUpload,      Fault::kDropOne,      kNone},
  {Transfer::kIrUpload,      Fault::kDropMany,     kUploadUnconfirmed},
  {Transfer::kIrUpload,      Fault::kCorrupt,      kNone},
  {Transfer::kIrUpload,      Fault::kRefuseWrites, kDeviceError},
  {Transfer::kIrUpload,      Fault::kSilent,       kUploadUnconfirmed},
  {Transfer::kIrUpload,      Fault::kUnplug,       kNone},
  {Transfer::kIrUpload,      Fault::kOtherVersion, kOutOfDate},
  {Transfer::kIrUpload,      Fault::kBurst,        kNone},
  {Transfer::kIrUpload,      Fault::kDelay,        kNone},
  {Transfer::kIrUpload,      Fault::kJitter,       kNone},
  {Transfer::kIrFetch,       Fault::kDropOne,      kNone},
  {Transfer::kIrFetch,       Fault::kDropMany,     kNone},
  {Transfer::kIrFetch,       Fault::kCorrupt,      kNone},
  {Transfer::kIrFetch,       Fault::kRefuseWrites, kNone},
  {Transfer::kIrFetch,       Fault::kSilent,       kIrNotSent},
  {Transfer::kIrFetch,       Fault::kUnplug,       kNone},
  {Transfer::kIrFetch,       Fault::kOtherVersion, kOutOfDate},
  {Transfer::kIrFetch,       Fault::kBurst,        kNone},
  {Transfer::kIrFetch,       Fault::kDelay,        kNone},
  {Transfer::kIrFetch,       Fault::kJitter,       kNone},
  {Transfer::kIrFetch,       Fault::kDamagedChunk, kNone},
  {Transfer::kBankExport,    Fault::kDropOne,      kFinished},
  {Transfer::kBankExport,    Fault::kDropMany,     kExportStopped},
  {Transfer::kBankExport,    Fault::kCorrupt,      kFinished},
  {Transfer::kBankExport,    Fault::kRefuseWrites, kFinished},
  {Transfer::kBankExport,    Fault::kSilent,       kExportStopped},
  {Transfer::kBankExport,    Fault::kUnplug,       kNone},  // abandoned without a file
  {Transfer::kBankExport,    Fault::kOtherVersion, kOutOfDate},
  {Transfer::kBankExport,    Fault::kBurst,        kFinished},
  {Transfer::kBankExport,    Fault::kDelay,        kFinished},
  {Transfer::kBankExport,    Fault::kJitter,       kFinished},
  {Transfer::kBankExport,    Fault::kDamagedChunk, kFinished},
  {Transfer::kBankImport,    Fault::kDropOne,      kImportStopped},
  {Transfer::kBankImport,    Fault::kDropMany,     kImportStopped},
  {Transfer::kBankImport,    Fault::kCorrupt,      kImportDone},
  {Transfer::kBankImport,    Fault::kRefuseWrites, kRefusedWrite},
  {Transfer::kBankImport,    Fault::kSilent,       kImportStopped},
  {Transfer::kBankImport,    Fault::kUnplug,       kImportStoppedThenVerified},
  {Transfer::kBankImport,    Fault::kOtherVersion, kStoppedThenOutOfDate},
  {Transfer::kBankImport,    Fault::kBurst,        kImportDone},
  {Transfer::kBankImport,    Fault::kDelay,        kImportDone},
  {Transfer::kBankImport,    Fault::kJitter,       kImportDone},
  {Transfer::kFactoryWrite,  Fault::kDropOne,      kFactoryStopped},
  {Transfer::kFactoryWrite,  Fault::kDropMany,     kFactoryStopped},
  {Transfer::kFactoryWrite,  Fault::kCorrupt,      kFinished},
  {Transfer::kFactoryWrite,  Fault::kRefuseWrites, kRefusedWrite},
  {Transfer::kFactoryWrite,  Fault::kSilent,       kFactoryStopped},
  {Transfer::kFactoryWrite,  Fault::kUnplug,       kFactoryStopped},
  {Transfer::kFactoryWrite,  Fault::kOtherVersion, kOutOfDateAroundStopped},
  {Transfer::kFactoryWrite,  Fault::kBurst,        kFinished},
  {Transfer::kFactoryWrite,  Fault::kDelay,        kFinished},
  {Transfer::kFactoryWrite,  Fault::kJitter,       kFinished},
  {Transfer::kFirmware,      Fault::kDropOne,      kLoaderSilent},
  {Transfer::kFirmware,      Fault::kDropMany,     kLoaderSilent},
  {Transfer::kFirmware,      Fault::kCorrupt,      kFirmwareDone},
  {Transfer::kFirmware,      Fault::kRefuseWrites, kFirmwareDone},
  {Transfer::kFirmware,      Fault::kSilent,       kLoaderSilent},
  {Transfer::kFirmware,      Fault::kUnplug,       kLoaderSilent},
  {Transfer::kFirmware,      Fault::kOtherVersion, kOutOfDateAroundLoaderSilent},
  {Transfer::kFirmware,      Fault::kBurst,        kFirmwareDone},
  {Transfer::kFirmware,      Fault::kDelay,        kFirmwareDone},
  {Transfer::kFirmware,      Fault::kJitter,       kFirmwareDone},
  {Transfer::kSettingsBlock, Fault::kDropOne,      kNone},
  {Transfer::kSettingsBlock, Fault::kDropMany,     kSettingsUnanswered},
  {Transfer::kSettingsBlock, Fault::kCorrupt,      kNone},
  {Transfer::kSettingsBlock, Fault::kRefuseWrites, kNone},
  {Transfer::kSettingsBlock, Fault::kSilent,       kSettingsUnanswered},
  {Transfer::kSettingsBlock, Fault::kUnplug,       kNone},
  {Transfer::kSettingsBlock, Fault::kOtherVersion, kOutOfDate},
  {Transfer::kSettingsBlock, Fault::kBurst,        kNone},
  {Transfer::kSettingsBlock, Fault::kDelay,        kNone},
  {Transfer::kSettingsBlock, Fault::kJitter,       kNone},
  {Transfer::kMapBlock,      Fault::kDropOne,      kNone},
  {Transfer::kMapBlock,      Fault::kDropMany,     kMapUnanswered},
  {Transfer::kMapBlock,      Fault::kCorrupt,      kNone},
  {Transfer::kMapBlock,      Fault::kRefuseWrites, kNone},
  {Transfer::kMapBlock,      Fault::kSilent,       kMapUnanswered},
  {Transfer::kMapBlock,      Fault::kUnplug,       kNone},
  {Transfer::kMapBlock,      Fault::kOtherVersion, kOutOfDate},
  {Transfer::kMapBlock,      Fault::kBurst,        kNone},
  {Transfer::kMapBlock,      Fault::kDelay,        kNone},
  {Transfer::kMapBlock,      Fault::kJitter,       kNone},
};
// clang-format on

Bytes ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

Bytes ShortWav() {
  std::vector<int> samples;
  for (int frame = 0; frame < 2000; ++frame) samples.push_back((frame * 37 % 200 - 100) * 90);
  return MakeWav(WavLayout{}, Pcm16(samples));
}

// The default pedal, its current preset 2 using user IR kFetchedIr in position A.
sim::PedalState PedalUsingAUserIr() {
  sim::PedalState state = sim::DefaultPedalState();
  sim::Record& record = state.presets[2];
  sim::RecordParam(record, sim::kParamIrModeA) = 1;
  sim::RecordParam(record, sim::kParamIrAHigh) = static_cast<uint8_t>(kFetchedIr >> 7);
  sim::RecordParam(record, sim::kParamIrALow) = static_cast<uint8_t>(kFetchedIr & 0x7F);
  state.userIrs[kFetchedIr] = sim::MakeSyntheticIr("FETCHED", 77);
  state.currentPreset = 2;
  state.editBuffer = record;
  return state;
}

auto CommandIs(uint8_t command) {
  return [command](const Bytes& m) {
    return m.size() > kCommandOffset && m[kCommandOffset] == command;
  };
}
auto BlockRequest(DataBlockType type) {
  return [request = BuildRequestBlock(type)](const Bytes& m) { return m == request; };
}

class FaultMatrix : public ::testing::TestWithParam<Cell> {
 protected:
  std::filesystem::path Folder() const { return mRun->h.folder.Path(); }
  std::filesystem::path BankFile() const { return Folder() / "out" / "bank.q3b"; }

  void SetUpRun(Transfer transfer) {
    mRun = std::make_unique<FaultRun>(transfer == Transfer::kIrFetch ? PedalUsingAUserIr()
                                                                     : sim::DefaultPedalState());
    std::filesystem::create_directories(Folder() / "out");
    if (transfer != Transfer::kSync && transfer != Transfer::kIrFetch) {
      ASSERT_TRUE(mRun->h.ConnectAndSettle());
      mRun->RunFor(2s);
    }
    if (transfer == Transfer::kBankImport) {
      // The bank to import, exported from this pedal without a fault.
      mRun->platform.QueueSaveFileResult((Folder() / "source.q3b").string());
      mRun->h.editor.OnMenuCommand(kEditorCmdBankExport);
      ASSERT_TRUE(mRun->RunUntilQuiet(1s, 60s));
    }
  }

  void Start(Transfer transfer, Fault fault) {
    FaultRun& run = *mRun;
    QD3Control& editor = run.h.editor;
    switch (transfer) {
      case Transfer::kSync:  // the connection finds every slot stale in the empty cache
        run.Arm(fault, CommandIs(kCmdRequestPreset));
        break;
      case Transfer::kCurrentPreset:  // the handshake again, its last step the preset
        // Another preset chosen on the pedal meanwhile, so a load that never came shows.
        run.h.link.Pedal().Modify([](sim::PedalModel& m) {
          m.State().currentPreset = kOtherCurrentPreset;
          m.State().editBuffer = m.State().presets[kOtherCurrentPreset];
        });
        run.Arm(fault, CommandIs(kCmdRequestPreset));
        editor.Reconnect();
        break;
      case Transfer::kIrUpload:
        WriteFile(Folder() / "Cab.wav", ShortWav());
        run.platform.QueueOpenFileResult((Folder() / "Cab.wav").string());
        run.Arm(fault, CommandIs(kCmdIrBegin));
        editor.LoadUserIrWav(false);
        break;
      case Transfer::kIrFetch:  // the connection loads preset 2 and fetches its IR
        run.Arm(fault, CommandIs(kCmdRequestIr));
        break;
      case Transfer::kBankExport:
        run.platform.QueueSaveFileResult(BankFile().string());
        run.Arm(fault,
                CommandIs(fault == Fault::kDamagedChunk ? kCmdRequestIr : kCmdRequestPreset));
        editor.OnMenuCommand(kEditorCmdBankExport);
        break;
      case Transfer::kBankImport:
        run.platform.QueueMessageBoxResult(EMsgBoxResult::OK);
        run.platform.QueueOpenFileResult((Folder() / "source.q3b").string());
        run.Arm(fault, CommandIs(kCmdRestorePreset));
        editor.OnMenuCommand(kEditorCmdBankImport);
        break;
      case Transfer::kFactoryWrite:
        run.platform.QueueMessageBoxResult(EMsgBoxResult::OK);
        run.Arm(fault, CommandIs(kCmdWriteFactoryPreset));
        editor.OnMenuCommand(kEditorCmdFactoryUpdate);
        break;
      case Transfer::kFirmware:
        WriteFile(Folder() / "fw.ldr", Bytes(2100, 0x5A));
        editor.OpenFirmwareUpdate();
        run.platform.QueueSaveFileResult((Folder() / "out" / "before-fw.q3b").string());
        run.platform.QueueOpenFileResult((Folder() / "fw.ldr").string());
        run.Arm(fault, [](const Bytes& m) { return m.size() > 4 && m[4] == kModelLoader; });
        editor.StartFirmwareUpdate();
        break;
      case Transfer::kSettingsBlock:
        run.Arm(fault, BlockRequest(kBlockGlobalSettings));
        editor.OpenGlobalSettings();
        break;
      case Transfer::kMapBlock:  // the program map page, which asks for the map
        run.Arm(fault, BlockRequest(kBlockProgramMap));
        editor.OpenProgramMap();
        break;
    }
  }

  // BACK on the map page: the map goes back to the pedal only when the page received it;
  // a lost answer must never put the page's defaults over the pedal's map.
  void ExpectMapSentBackOnlyWhenRead() {
    CoreHarness& h = mRun->h;
    const bool read = h.editor.mapsRead.program;
    const size_t from = h.sent.messages.size();
    h.editor.CloseProgramMap();
    size_t sentBack = 0;
    for (size_t i = from; i < h.sent.messages.size(); ++i) {
      const Bytes& m = h.sent.messages[i];
      sentBack += m.size() == kRecordMessageSize && m[kCommandOffset] == kCmdDataBlock &&
                  m[kSelectorOffset] == kBlockProgramMap;
    }
    EXPECT_EQ(sentBack, read ? 1u : 0u);
    if (!read) mRun->RunFor(100ms);  // the idle tick shows why nothing was sent
  }

  // Every file under the data folder is whole: no temporary, each cached preset a whole
  // record, each cached IR a whole image, each bank file valid.
  void ExpectFilesComplete() const {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Folder())) {
      if (!entry.is_regular_file()) continue;
      const auto& path = entry.path();
      const std::string name = path.filename().string();
      EXPECT_EQ(name.find(".tmp"), std::string::npos) << "left behind: " << path;
      const std::string parent = path.parent_path().filename().string();
      if (parent == "Presets" && path.extension() == ".dat") {
        EXPECT_EQ(entry.file_size(), kPresetRecordSize) << path;
      } else if (parent == "User IRs" && path.extension() == ".dat") {
        EXPECT_EQ(entry.file_size(), kIrFileSize) << path;
      } else if (path.extension() == ".q3b") {
        const Bytes bank = ReadAll(path);
        const BankFileCheck check = ValidateBankFile(bank);
        EXPECT_TRUE(check.Valid()) << path << ": " << check.reason;
        for (const BankMessageSpan& m : BankMessages(bank)) {
          const std::span<const uint8_t> message(bank.data() + m.offset, m.size);
          if (message[kCommandOffset] != kCmdPresetDump) continue;
          EXPECT_TRUE(VerifyRecordChecksum(message)) << path << ": a damaged preset was kept";
        }
      }
    }
  }

  // Faults the request's own retries ride out: the preset must then really load, not
  // merely end without a message.
  static bool LoadsDespite(Fault fault) {
    return fault == Fault::kDropOne || fault == Fault::kDropMany || fault == Fault::kCorrupt ||
           fault == Fault::kRefuseWrites;
  }

  void ExpectCurrentPresetLoaded() const {
    const QD3Control& editor = mRun->h.editor;
    const sim::PedalState pedal = mRun->h.link.Pedal().Snapshot();
    EXPECT_EQ(editor.session.currentPreset, pedal.currentPreset);
    const auto& record = pedal.presets[static_cast<size_t>(pedal.currentPreset)];
    for (int i = 0; i < kNumSoundParams; ++i) {
      EXPECT_EQ(editor.deviceSnapshot[static_cast<size_t>(i)], sim::RecordParam(record, i)) << i;
    }
    EXPECT_FALSE(editor.session.applyingDeviceValues);
  }

  std::unique_ptr<FaultRun> mRun;
};

TEST_P(FaultMatrix, EndsInSuccessOrOneMessageWithFilesWholeAndReconnects) {
  const Cell cell = GetParam();
  SetUpRun(cell.transfer);
  if (HasFatalFailure()) return;
  FaultRun& run = *mRun;
  Start(cell.transfer, cell.fault);

  // Bounded: every transfer here takes well under a minute of pedal time.
  EXPECT_TRUE(run.RunUntilQuiet(10s, 120s)) << "still under way after the bound";
  EXPECT_TRUE(run.Struck()) << "the transfer never sent the message the fault waits for";
  if (cell.fault == Fault::kDamagedChunk) {
    EXPECT_FALSE(run.h.link.Pedal().Inspect([](const sim::PedalModel& m) {
      return m.Faults().damageNextIrChunk;
    })) << "no IR chunk left the pedal after the strike";
  }

  std::vector<std::string> boxes = run.BoxesSinceStrike();
  boxes.erase(std::unique(boxes.begin(), boxes.end()), boxes.end());  // the poll's repeats
  std::string shown;
  for (const auto& b : boxes) shown += "[" + b + "] ";
  std::vector<std::string> want;
  for (std::string_view rest = cell.boxes; !rest.empty();) {
    const size_t bar = rest.find('|');
    want.emplace_back(rest.substr(0, bar));
    rest = bar == std::string_view::npos ? std::string_view{} : rest.substr(bar + 1);
  }
  ASSERT_EQ(boxes.size(), want.size()) << shown;
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_NE(boxes[i].find(want[i]), std::string::npos) << shown;
  }
  ExpectFilesComplete();
  if (cell.transfer == Transfer::kMapBlock) ExpectMapSentBackOnlyWhenRead();
  if (cell.transfer == Transfer::kCurrentPreset && LoadsDespite(cell.fault)) {
    ExpectCurrentPresetLoaded();
  }

  // The fault cleared, the player presses "RECONNECT": the pedal is found and the cache
  // is brought in step with it.
  run.ClearFaults();
  if (cell.transfer == Transfer::kFirmware &&
      run.h.link.Pedal().Inspect([](const sim::PedalModel& m) { return m.InLoader(); })) {
    // The loader kept waiting for its image: the player presses "UPDATE FIRMWARE" on the
    // still open screen again, as the message says.
    run.platform.QueueOpenFileResult((Folder() / "fw.ldr").string());
    run.h.editor.StartFirmwareUpdate();
    EXPECT_TRUE(run.RunUntilQuiet(5s, 60s));
  }
  run.h.editor.Reconnect();
  ASSERT_TRUE(run.h.RunUntil([&] { return run.h.editor.session.connected; }, 10s));
  EXPECT_TRUE(run.RunUntilQuiet(5s, 60s));
  ExpectFilesComplete();
  const sim::PedalState pedal = run.h.link.Pedal().Snapshot();
  for (int slot = 0; slot < kPresetCount; ++slot) {
    const auto cached = run.h.editor.Cache()->ReadPreset(slot);
    ASSERT_TRUE(cached.has_value()) << "slot " << slot;
    const auto& onPedal = pedal.presets[static_cast<size_t>(slot)];
    EXPECT_TRUE(std::equal(onPedal.begin(), onPedal.end(), cached->Bytes().begin()))
        << "slot " << slot;
  }
}

std::string CellName(const ::testing::TestParamInfo<Cell>& info) {
  static constexpr const char* kTransferNames[] = {
      "Sync",       "CurrentPreset", "IrUpload", "IrFetch",       "BankExport",
      "BankImport", "FactoryWrite",  "Firmware", "SettingsBlock", "MapBlock"};
  std::string fault = FaultName(info.param.fault);
  std::string out = kTransferNames[static_cast<int>(info.param.transfer)];
  out += "_";
  for (char c : fault) out += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return out;
}

INSTANTIATE_TEST_SUITE_P(EveryTransferEveryFault, FaultMatrix, ::testing::ValuesIn(kMatrix),
                         CellName);

}  // namespace
}  // namespace qd3::test
