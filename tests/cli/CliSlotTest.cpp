// get, put and diff of one slot in-process: the real commands against the simulated pedal
// on virtual time.

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "cli/ExitCodes.h"
#include "params/ParamCatalogue.h"
#include "presets/IrFileLayout.h"
#include "presets/PresetFile.h"
#include "presets/SafetyBackup.h"
#include "simulator/DefaultState.h"
#include "simulator/PedalState.h"
#include "simulator/SoundParams.h"
#include "tests/cli/SimSession.h"

namespace qd3 {
namespace {

using cli::CliArgs;
using cli::Command;
using test::SimRig;

const std::string kArrow = " \xE2\x86\x92 ";

CliArgs GetArgs(int shown, const std::filesystem::path& file) {
  CliArgs args = test::SessionArgs(Command::kGet, file);
  args.slot = shown;
  return args;
}

CliArgs PutArgs(const std::filesystem::path& file, int shown) {
  CliArgs args = test::SessionArgs(Command::kPut, file);
  args.slot = shown;
  args.yes = true;
  return args;
}

// diff of a file (first) and a slot of the pedal (second).
CliArgs DiffArgs(const std::filesystem::path& file, int shown) {
  CliArgs args = test::SessionArgs(Command::kDiff, file);
  args.out = "slot:" + std::to_string(shown);
  args.diffSlots[1] = shown;
  return args;
}

// The preset file `get` writes of a slot of the default pedal.
Bytes FileOfDefaultSlot(int slot) {
  SimRig rig;
  const auto path = rig.folder.Path() / "slot.q3p";
  EXPECT_EQ(cli::RunGet(GetArgs(slot, path), rig.context, rig.out, rig.err), cli::kExitOk)
      << rig.err.str();
  return test::ReadBytes(path);
}

std::string NameAt(std::span<const uint8_t> bytes, std::size_t offset) {
  return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                     bytes.begin() + static_cast<std::ptrdiff_t>(offset + kNameSize));
}

std::size_t GlobalByte(int catalogueIndex) {
  return sim::FindGlobalField(catalogueIndex)->dataByte;
}

// ---- get --------------------------------------------------------------------------------------

struct GetCase {
  int slot;
  std::vector<int> blocks;  // the user IRs whose images the file carries, in order
  const char* name;
};
class CliGetSlot : public testing::TestWithParam<GetCase> {};

TEST_P(CliGetSlot, FileHoldsTheSlotsRecordAndTheImagesOfItsUserIrs) {
  const GetCase& c = GetParam();
  SimRig rig;
  const sim::PedalState pedal = rig.Snapshot();
  const auto path = rig.folder.Path() / "new folder" / "p.q3p";
  ASSERT_EQ(cli::RunGet(GetArgs(c.slot, path), rig.context, rig.out, rig.err), cli::kExitOk)
      << rig.err.str();
  const Bytes file = test::ReadBytes(path);
  ASSERT_EQ(file.size(), kPresetFileHeaderSize + c.blocks.size() * kIrFileSize);
  const sim::Record& record = pedal.presets[static_cast<std::size_t>(c.slot)];

  EXPECT_EQ(std::string(file.begin(), file.begin() + 6), std::string("QRBP\x01\x00", 6));
  EXPECT_EQ(NameAt(file, kPresetFileNameOffset), test::Padded32(c.name));
  for (int i = 0; i < kRecordParamCount; ++i) {
    EXPECT_EQ(file[kPresetFileParamsOffset + static_cast<std::size_t>(i)],
              sim::RecordParam(record, i))
        << "parameter " << i;
  }
  const auto irName = [&](int modeParam, std::size_t recordOffset) {
    return sim::RecordParam(record, modeParam) > 0 ? NameAt(record, recordOffset)
                                                   : std::string(kNameSize, ' ');
  };
  EXPECT_EQ(NameAt(file, kPresetFileIrName7Offset), irName(sim::kParamIrModeA, kUserIrName7Offset));
  EXPECT_EQ(NameAt(file, kPresetFileIrName8Offset), irName(sim::kParamIrModeB, kUserIrName8Offset));
  for (std::size_t k = 0; k < c.blocks.size(); ++k) {
    const sim::IrImage& image = pedal.userIrs[static_cast<std::size_t>(c.blocks[k])];
    EXPECT_TRUE(std::equal(
        image.begin(), image.end(),
        file.begin() + static_cast<std::ptrdiff_t>(kPresetFileHeaderSize + k * kIrFileSize)))
        << "block " << k << " is not user IR " << c.blocks[k];
  }
  EXPECT_NE(rig.out.str().find(std::string("\"") + c.name + "\" written to"), std::string::npos)
      << rig.out.str();
}

INSTANTIATE_TEST_SUITE_P(
    Slots, CliGetSlot,
    testing::Values(GetCase{10, {}, "Demo Preset 11"},       // no user IR
                    GetCase{0, {0}, "Demo Preset 01"},       // user IR 0 in position 7
                    GetCase{2, {2, 130}, "Demo Preset 03"},  // user IRs in both positions
                    // position 8 uses factory-bank IR 257: its name travels, no block does
                    GetCase{5, {}, "Demo Preset 06"}));

struct ShownSlot {
  int patchOffset;
  int shown;
  int slot;  // -1: the pedal has no preset of that number
};
class CliSlotNumbers : public testing::TestWithParam<ShownSlot> {};

TEST_P(CliSlotNumbers, SlotIsTheNumberThePedalShows) {
  sim::PedalState state = sim::DefaultPedalState();
  state.globals[GlobalByte(kParamPatchOffset)] = static_cast<uint8_t>(GetParam().patchOffset);
  SimRig rig(state);
  const auto path = rig.folder.Path() / "p.q3p";
  const int code = cli::RunGet(GetArgs(GetParam().shown, path), rig.context, rig.out, rig.err);
  if (GetParam().slot < 0) {
    EXPECT_EQ(code, cli::kExitUsage);
    EXPECT_NE(rig.err.str().find("has no preset " + std::to_string(GetParam().shown)),
              std::string::npos)
        << rig.err.str();
    EXPECT_FALSE(std::filesystem::exists(path));
    return;
  }
  ASSERT_EQ(code, cli::kExitOk) << rig.err.str();
  char name[32];
  std::snprintf(name, sizeof name, "Demo Preset %02d", GetParam().slot + 1);
  EXPECT_EQ(LoadPresetFile(path).name, name);
}

INSTANTIATE_TEST_SUITE_P(PatchOffset, CliSlotNumbers,
                         testing::Values(ShownSlot{0, 0, 0}, ShownSlot{0, 127, 127},
                                         ShownSlot{0, 128, -1}, ShownSlot{1, 0, -1},
                                         ShownSlot{1, 1, 0}, ShownSlot{1, 128, 127}));

TEST(CliGet, DamagedIrTransferIsAskedForAgainAndTheBlockIsWhole) {
  SimRig rig;
  rig.link.Pedal().DamageNextIrChunk();
  const auto path = rig.folder.Path() / "p.q3p";
  ASSERT_EQ(cli::RunGet(GetArgs(0, path), rig.context, rig.out, rig.err), cli::kExitOk)
      << rig.err.str();
  const PresetFileData file = LoadPresetFile(path);
  ASSERT_EQ(file.blocks.size(), 1u);
  EXPECT_EQ(file.blocks[0], rig.Snapshot().userIrs[0]);
}

TEST(CliGet, SilentPedalExitsThreeWithoutAFile) {
  SimRig rig;
  rig.link.Pedal().SetSilent(true);
  const auto path = rig.folder.Path() / "p.q3p";
  EXPECT_EQ(cli::RunGet(GetArgs(3, path), rig.context, rig.out, rig.err), cli::kExitPedalFailed);
  EXPECT_FALSE(std::filesystem::exists(path));
}

// ---- put --------------------------------------------------------------------------------------

TEST(CliPut, StoresTheFileWithItsIrsInTheSlotsOwnIrsAfterASafetyCopy) {
  const Bytes file = FileOfDefaultSlot(2);  // user IRs 2 and 130
  SimRig rig;
  const sim::PedalState before = rig.Snapshot();
  const auto path = rig.folder.Path() / "lead.q3p";
  test::WriteBytes(path, file);
  ASSERT_EQ(cli::RunPut(PutArgs(path, 0), rig.context, rig.out, rig.err), cli::kExitOk)
      << rig.err.str();
  EXPECT_EQ(rig.out.str(), "Preset file " + path.string() + " stored in preset 00 and verified.\n");

  const sim::PedalState after = rig.Snapshot();
  const sim::Record& source = before.presets[2];
  const sim::Record& stored = after.presets[0];
  EXPECT_EQ(NameAt(stored, kPresetNameOffset), NameAt(source, kPresetNameOffset));
  EXPECT_EQ(NameAt(stored, kUserIrName7Offset), NameAt(source, kUserIrName7Offset));
  EXPECT_EQ(NameAt(stored, kUserIrName8Offset), NameAt(source, kUserIrName8Offset));
  // The IR references now name slot 0's own user IRs, 0 and 128.
  const std::map<int, int> reaimed = {{53, 0}, {54, 0}, {55, 1}, {56, 0}};
  for (int i = 0; i < kRecordParamCount; ++i) {
    const int want = reaimed.contains(i) ? reaimed.at(i) : sim::RecordParam(source, i);
    EXPECT_EQ(sim::RecordParam(stored, i), want) << "parameter " << i;
  }
  // The blocks' names and samples went into user IRs 0 and 128.
  for (const auto& [target, from] : {std::pair{0, 2}, std::pair{128, 130}}) {
    const sim::IrImage& now = after.userIrs[static_cast<std::size_t>(target)];
    const sim::IrImage& was = before.userIrs[static_cast<std::size_t>(from)];
    EXPECT_TRUE(
        std::equal(now.begin() + kIrFileNameOffset, now.end(), was.begin() + kIrFileNameOffset))
        << "user IR " << target;
  }
  for (std::size_t s = 1; s < before.presets.size(); ++s) {
    EXPECT_EQ(after.presets[s], before.presets[s]) << "slot " << s;
  }
  for (std::size_t n = 0; n < before.userIrs.size(); ++n) {
    if (n == 0 || n == 128) continue;
    EXPECT_EQ(after.userIrs[n], before.userIrs[n]) << "user IR " << n;
  }

  // The safety copy is slot 0 as it was, with its user IR 0.
  const auto safety =
      rig.context.baseFolder / kBackupsFolderName / "QD3 preset 00 2024-03-07 090503.q3p";
  const PresetFileData old = LoadPresetFile(safety);
  ASSERT_EQ(old.status, PresetFileStatus::kRead) << rig.err.str();
  EXPECT_EQ(old.name, "Demo Preset 01");
  for (int i = 0; i < kRecordParamCount; ++i) {
    EXPECT_EQ(old.params[static_cast<std::size_t>(i)], sim::RecordParam(before.presets[0], i));
  }
  ASSERT_EQ(old.blocks.size(), 1u);
  EXPECT_EQ(old.blocks[0], before.userIrs[0]);
  EXPECT_NE(rig.err.str().find("Safety copy of preset 00 written to " + safety.string()),
            std::string::npos)
      << rig.err.str();
}

TEST(CliPut, ValuesOnlyFileIsStoredAndReadsBackAsTheSameFile) {
  const Bytes file = FileOfDefaultSlot(10);
  SimRig rig;
  const auto path = rig.folder.Path() / "clean.q3p";
  test::WriteBytes(path, file);
  CliArgs args = PutArgs(path, 20);
  args.noSafetyBackup = true;
  ASSERT_EQ(cli::RunPut(args, rig.context, rig.out, rig.err), cli::kExitOk) << rig.err.str();
  EXPECT_FALSE(std::filesystem::exists(rig.context.baseFolder / kBackupsFolderName));
  // Slot 20 reads back as the file but for the IR references, which the import aims at
  // the slot it stores into.
  const auto again = rig.folder.Path() / "again.q3p";
  std::ostringstream out;
  ASSERT_EQ(cli::RunGet(GetArgs(20, again), rig.context, out, rig.err), cli::kExitOk);
  Bytes expected = file;
  expected[kPresetFileParamsOffset + kParamUserIr7Low] = 20;
  expected[kPresetFileParamsOffset + kParamUserIr8Low] = 20;
  EXPECT_EQ(test::ReadBytes(again), expected);
}

TEST(CliPut, TruncatedFileSendsNothingAtAll) {
  Bytes file = FileOfDefaultSlot(2);
  file.resize(3000);  // the second IR block cut short
  SimRig rig;
  const sim::PedalState before = rig.Snapshot();
  const auto path = rig.folder.Path() / "cut.q3p";
  test::WriteBytes(path, file);
  EXPECT_EQ(cli::RunPut(PutArgs(path, 2), rig.context, rig.out, rig.err), cli::kExitBadFile);
  EXPECT_NE(rig.err.str().find("3000 bytes"), std::string::npos) << rig.err.str();
  EXPECT_EQ(rig.Handled(), 0);
  EXPECT_EQ(rig.Snapshot().presets, before.presets);
  EXPECT_FALSE(std::filesystem::exists(rig.context.baseFolder / kBackupsFolderName));
}

struct NotStored {
  const char* why;
  bool presetProtection;
  int refusedWrites;
  int fileSlot;  // 10 brings no IR, 2 brings two
  const char* said;
};
class CliPutNotStored : public testing::TestWithParam<NotStored> {};

TEST_P(CliPutNotStored, PedalThatKeepsTheOldPresetFailsTheCheck) {
  const NotStored& c = GetParam();
  const Bytes file = FileOfDefaultSlot(c.fileSlot);
  sim::PedalState state = sim::DefaultPedalState();
  if (c.presetProtection) state.globals[sim::kGlobalProtection] = 1;
  SimRig rig(state);
  rig.link.Pedal().RefuseNextWrites(c.refusedWrites);
  const auto path = rig.folder.Path() / "p.q3p";
  test::WriteBytes(path, file);
  EXPECT_EQ(cli::RunPut(PutArgs(path, 9), rig.context, rig.out, rig.err), cli::kExitPedalFailed);
  EXPECT_NE(rig.err.str().find(c.said), std::string::npos) << rig.err.str();
  EXPECT_EQ(rig.out.str(), "");
  const sim::PedalState after = rig.Snapshot();
  EXPECT_EQ(after.presets[9], state.presets[9]);
  EXPECT_EQ(after.userIrs[9], state.userIrs[9]);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, CliPutNotStored,
    testing::Values(NotStored{"protection", true, 0, 10, "the pedal did not store it"},
                    NotStored{"store", false, 1, 10, "the pedal did not store it"},
                    NotStored{"ir", false, 1, 2, "refused the IR upload"}),
    [](const testing::TestParamInfo<NotStored>& each) { return std::string(each.param.why); });

TEST(CliPut, WithoutTerminalAndWithoutYesRefusesBeforeTalkingToThePedal) {
  SimRig rig;
  const auto path = rig.folder.Path() / "p.q3p";
  test::WriteBytes(path, FileOfDefaultSlot(10));
  CliArgs args = PutArgs(path, 9);
  args.yes = false;
  EXPECT_EQ(cli::RunPut(args, rig.context, rig.out, rig.err), cli::kExitUsage);
  EXPECT_NE(rig.err.str().find("--yes"), std::string::npos);
  EXPECT_EQ(rig.Handled(), 0);
}

TEST(CliPut, AnsweringNoSendsNothing) {
  SimRig rig;
  const auto path = rig.folder.Path() / "p.q3p";
  test::WriteBytes(path, FileOfDefaultSlot(10));
  std::string asked;
  rig.context.confirm = [&](const std::string& q) {
    asked = q;
    return false;
  };
  CliArgs args = PutArgs(path, 9);
  args.yes = false;
  EXPECT_EQ(cli::RunPut(args, rig.context, rig.out, rig.err), cli::kExitUsage);
  EXPECT_EQ(asked,
            "Store the preset file \"Demo Preset 11\" in preset 09 of the QD3? The preset stored "
            "there now is replaced.");
  EXPECT_EQ(rig.Handled(), 0);
}

// ---- diff of a slot ---------------------------------------------------------------------------

struct SlotDiff {
  int fileSlot;
  int pedalSlot;
  bool changeIr130;  // the pedal's user IR 130 differs from the file's block
  int code;
  std::string firstLine;
};
class CliDiffSlot : public testing::TestWithParam<SlotDiff> {};

TEST_P(CliDiffSlot, SlotComparesAsThePresetFileItReadsAs) {
  const SlotDiff& c = GetParam();
  const Bytes file = FileOfDefaultSlot(c.fileSlot);
  sim::PedalState state = sim::DefaultPedalState();
  if (c.changeIr130) state.userIrs[130][kIrFileSamplesOffset + 10] ^= 0x10;
  SimRig rig(state);
  const auto path = rig.folder.Path() / "p.q3p";
  test::WriteBytes(path, file);
  EXPECT_EQ(cli::RunDiff(DiffArgs(path, c.pedalSlot), rig.context, rig.out, rig.err), c.code)
      << rig.err.str();
  const std::string out = rig.out.str();
  EXPECT_EQ(out.substr(0, out.find('\n')), c.firstLine) << out;
}

INSTANTIATE_TEST_SUITE_P(
    Slots, CliDiffSlot,
    testing::Values(SlotDiff{3, 3, false, 0, ""}, SlotDiff{2, 2, false, 0, ""},
                    SlotDiff{3, 4, false, 1,
                             "name: \"Demo Preset 04\"" + kArrow + "\"Demo Preset 05\""},
                    SlotDiff{2, 2, true, 1, "IR blocks: 2" + kArrow + "2, their samples differ"}));

TEST(CliDiff, SlotThatCannotBeReadIsTroubleNotADifference) {
  const Bytes file = FileOfDefaultSlot(3);
  SimRig rig;
  rig.link.Pedal().SetSilent(true);
  const auto path = rig.folder.Path() / "p.q3p";
  test::WriteBytes(path, file);
  EXPECT_EQ(cli::RunDiff(DiffArgs(path, 3), rig.context, rig.out, rig.err), cli::kExitDiffTrouble);
  EXPECT_EQ(rig.out.str(), "");
}

}  // namespace
}  // namespace qd3
