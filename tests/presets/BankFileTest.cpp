// Bank files (.q3b): what is accepted, the restore rewrite, checksums and texts.

#include <gtest/gtest.h>

#include "presets/BankFile.h"
#include "presets/SafetyBackup.h"
#include "protocol/Checksum14.h"
#include "tests/support/BankTestSupport.h"
#include "tests/support/TempFolder.h"

namespace qd3 {
namespace {

using test::Concat;
using test::IrTransfer;
using test::PresetDump;

// Removes one byte. The range check is the test's own (a bank shorter than the index is a
// broken case) and also tells GCC's optimiser that the tail moved by erase is not negative.
void EraseByte(Bytes& b, std::size_t index) {
  if (index >= b.size()) {
    ADD_FAILURE() << "the bank has no byte " << index;
    return;
  }
  b.erase(b.begin() + static_cast<std::ptrdiff_t>(index));
}

Bytes GoodBank() {
  std::vector<Bytes> messages = {PresetDump(0), PresetDump(1, 9)};
  for (Bytes& m : IrTransfer(5, 500)) messages.push_back(m);
  return Concat(messages);
}

TEST(BankFile, GoodBankPasses) {
  const BankFileCheck check = ValidateBankFile(GoodBank());
  EXPECT_TRUE(check.Valid()) << check.reason;
  EXPECT_EQ(check.messageCount, 5);
  EXPECT_TRUE(check.reason.empty());
}

TEST(BankFile, BadBanksAreRefusedWithAReason) {
  const Bytes good = GoodBank();
  auto with = [&](auto change) {
    Bytes b = good;
    change(b);
    return b;
  };
  const std::vector<Bytes> ir = IrTransfer(5, 500);
  struct Case {
    const char* what;
    Bytes bank;
    BankFileFault fault;
  };
  const Case cases[] = {
      {"empty", {}, BankFileFault::kEmpty},
      {"too large", Bytes(kBulkBufferSize + 1, 0), BankFileFault::kTooLarge},
      {"stray byte before", with([](Bytes& b) { b.insert(b.begin(), 0x00); }),
       BankFileFault::kStrayByte},
      {"stray byte between", with([](Bytes& b) { b.insert(b.begin() + 267, 0x11); }),
       BankFileFault::kStrayByte},
      {"missing F7 at the end", with([](Bytes& b) { b.pop_back(); }), BankFileFault::kMissingEnd},
      {"missing F7 inside", with([](Bytes& b) { EraseByte(b, 266); }), BankFileFault::kMissingEnd},
      {"wrong command", with([](Bytes& b) { b[5] = kCmdDataBlock; }),
       BankFileFault::kUnknownCommand},
      {"restore command", with([](Bytes& b) { b[5] = kCmdRestorePreset; }),
       BankFileFault::kUnknownCommand},
      {"other manufacturer", with([](Bytes& b) { b[2] = 0x40; }), BankFileFault::kNotThisPedal},
      {"loader model", with([](Bytes& b) { b[4] = kModelLoader; }), BankFileFault::kNotThisPedal},
      {"short preset dump", with([](Bytes& b) { EraseByte(b, 100); }), BankFileFault::kWrongLength},
      {"data byte with top bit", with([](Bytes& b) { b[100] = 0x85; }), BankFileFault::kMissingEnd},
      {"IR data without begin", Concat({PresetDump(0), ir[1], ir[2]}),
       BankFileFault::kBrokenIrTransfer},
      {"IR without end", Concat({PresetDump(0), ir[0], ir[1]}), BankFileFault::kBrokenIrTransfer},
      {"IR chunk missing", Concat({ir[0], ir[2]}), BankFileFault::kBrokenIrTransfer},
      {"tiny message", Bytes{0xF0, 0x00, 0xF7}, BankFileFault::kWrongLength},
      {"IR group flipped", with([](Bytes& b) { b[2 * 267 + 269 + 50] ^= 0x01; }),
       BankFileFault::kDamagedIrTransfer},
      {"IR checksum flipped", with([](Bytes& b) { b[b.size() - 2] ^= 0x01; }),
       BankFileFault::kDamagedIrTransfer},
  };
  for (const Case& c : cases) {
    const BankFileCheck check = ValidateBankFile(c.bank);
    EXPECT_EQ(check.fault, c.fault) << c.what;
    EXPECT_FALSE(check.reason.empty()) << c.what;
  }
}

// The restore recomputes the IR checksum for its own command, so a damaged transfer in
// the file must be caught here or it reaches the pedal looking whole.
TEST(BankFile, ADamagedIrTransferIsRefusedNamingWhereItEnds) {
  Bytes bank = GoodBank();
  bank[2 * 267 + 269 + 50] ^= 0x01;  // a group in the IR's data chunk
  const BankFileCheck check = ValidateBankFile(bank);
  EXPECT_EQ(check.fault, BankFileFault::kDamagedIrTransfer);
  EXPECT_EQ(check.offset, 2 * 267 + 269 + 264u) << "at the end that carries the checksum";
  EXPECT_EQ(check.reason,
            "This file is not a usable QD3 bank: a damaged IR transfer (its checksum does not "
            "match) (message 5, byte 1067). Nothing was sent to the pedal.");
}

// A damaged record is the import's to refuse; the file stays well-formed for inspection.
TEST(BankFile, ADamagedRecordIsFoundForTheImportOnly) {
  Bytes bank = GoodBank();
  EXPECT_TRUE(CheckBankRecords(bank).Valid());
  bank[267 + 40] ^= 0x01;  // slot 1's record
  EXPECT_TRUE(ValidateBankFile(bank).Valid());
  const BankFileCheck check = CheckBankRecords(bank);
  EXPECT_EQ(check.fault, BankFileFault::kDamagedPreset);
  EXPECT_EQ(check.offset, 267u);
  EXPECT_NE(check.reason.find("a damaged preset (its checksum does not match) (message 2, byte "
                              "267). Nothing was sent to the pedal."),
            std::string::npos)
      << check.reason;
}

TEST(BankFile, MessagesAreFoundByTheirEnds) {
  const Bytes bank = GoodBank();
  const auto spans = BankMessages(bank);
  ASSERT_EQ(spans.size(), 5u);
  EXPECT_EQ(spans[1].offset, 267u);
  EXPECT_EQ(spans[2].size, kIrBeginSize);
  const auto third = BankMessage(bank, 2);
  ASSERT_TRUE(third);
  EXPECT_EQ(third->size(), kIrBeginSize);
  EXPECT_FALSE(BankMessage(bank, 5));
  EXPECT_FALSE(BankMessage(bank, -1));
}

TEST(BankFile, RestoreRewriteChangesCommandsAndRecomputesTheIrChecksum) {
  const std::vector<Bytes> ir = IrTransfer(5, 500);
  ASSERT_EQ(ir.size(), 3u);
  RestoreRewriter rewriter;
  const Bytes dump = PresetDump(3);
  const Bytes preset = rewriter.Rewrite(dump);
  EXPECT_EQ(preset[kCommandOffset], kCmdRestorePreset);
  EXPECT_EQ(Bytes(preset.begin() + 6, preset.end()), Bytes(dump.begin() + 6, dump.end()));

  Bytes end = ir[2];
  end[end.size() - 3] ^= 0x11;  // a stale checksum in the file is replaced
  const Bytes b = rewriter.Rewrite(ir[0]);
  const Bytes d = rewriter.Rewrite(ir[1]);
  const Bytes e = rewriter.Rewrite(end);
  EXPECT_EQ(b[kCommandOffset], kCmdRestoreIrBegin);
  EXPECT_EQ(d[kCommandOffset], kCmdRestoreIrData);
  EXPECT_EQ(e[kCommandOffset], kCmdRestoreIrEnd);
  uint32_t sum = 0;
  for (std::size_t i = 12; i < 268; ++i) sum += ir[0][i];
  for (std::size_t i = 7; i < 263; ++i) sum += ir[1][i];
  for (std::size_t i = 7; i < ir[2].size() - 3; ++i) sum += ir[2][i];
  EXPECT_EQ(e[e.size() - 3], (sum >> 7) & 0x7F);
  EXPECT_EQ(e[e.size() - 2], sum & 0x7F);
  EXPECT_EQ(e[e.size() - 3], ir[2][ir[2].size() - 3]);  // what the pedal had sent
}

TEST(BankFile, RecordChecksumsAndDifferingSlots) {
  const Bytes bank = Concat({PresetDump(0, 1), PresetDump(2, 5)});
  const BankChecksums sums = BankRecordChecksums(bank);
  ASSERT_TRUE(sums[0] && sums[2]);
  EXPECT_FALSE(sums[1]);
  const Bytes dump = PresetDump(2, 5);
  EXPECT_EQ(*sums[2], (Checksum14Pair{dump[264], dump[265]}));

  std::array<Checksum14Pair, kPresetCount> pedal{};
  pedal[0] = *sums[0];
  pedal[2] = *sums[2];
  EXPECT_TRUE(SlotsDifferingFromBank(sums, pedal).empty());
  pedal[2].lo ^= 1;
  pedal[1].lo = 9;  // not in the bank: not compared
  EXPECT_EQ(SlotsDifferingFromBank(sums, pedal), std::vector<int>{2});
}

TEST(BankFile, VerificationTextsAndBackupName) {
  EXPECT_EQ(RestoreVerificationText({}, 0, 128), "All 128 presets restored and verified.");
  // A file of fewer presets: the words count what it held.
  EXPECT_EQ(RestoreVerificationText({}, 0, 1), "The file's preset was restored and verified.");
  EXPECT_EQ(RestoreVerificationText({}, 0, 5), "All 5 presets of the file restored and verified.");
  const std::vector<int> one = {4};
  EXPECT_EQ(RestoreVerificationText(one, 1, 128), "Preset 05 differs from the imported file.");
  const std::vector<int> two = {2, 120};
  EXPECT_EQ(RestoreVerificationText(two, 0, 128), "Presets 02, 120 differ from the imported file.");

  std::tm t{};
  t.tm_year = 2025 - 1900;
  t.tm_mon = 2;
  t.tm_mday = 7;
  t.tm_hour = 9;
  t.tm_min = 5;
  t.tm_sec = 3;
  EXPECT_EQ(SafetyBackupPath("/base", t),
            std::filesystem::path("/base/Backups/QD3 backup 2025-03-07 090503.q3b"));
}

TEST(BankFile, SaveCreatesTheBackupsFolderAndReplacesWhole) {
  test::TempFolder folder;
  const auto path = folder.Path() / "Backups" / "b.q3b";
  const Bytes bank = GoodBank();
  ASSERT_EQ(SaveBankFile(path, bank), CacheWriteStatus::kWritten);
  EXPECT_EQ(test::ReadBytes(path), bank);
  EXPECT_FALSE(std::filesystem::exists(TempPathFor(path)));
  // A folder that cannot be created (a file stands in its way) is reported.
  test::WriteBytes(folder.Path() / "file", {1});
  EXPECT_EQ(SaveBankFile(folder.Path() / "file" / "b.q3b", bank),
            CacheWriteStatus::kFolderUnavailable);
  EXPECT_STRNE(WriteFailureText(CacheWriteStatus::kWriteFailed), "");
}

// "An earlier file of that name was kept." only where there was one.
TEST(BankFile, AFailedWriteMentionsAKeptFileOnlyWhenThereIsOne) {
  test::TempFolder folder;
  const auto fresh = folder.Path() / "new.q3b";
  const auto earlier = folder.Path() / "old.q3b";
  test::WriteBytes(earlier, {1, 2, 3});
  for (const CacheWriteStatus status :
       {CacheWriteStatus::kWriteFailed, CacheWriteStatus::kReplaceFailed}) {
    const std::string none = WriteFailureText(status, fresh);
    EXPECT_FALSE(none.empty());
    EXPECT_EQ(none.find("earlier file"), std::string::npos) << none;
    EXPECT_NE(WriteFailureText(status, earlier).find("An earlier file of that name was kept."),
              std::string::npos);
  }
  EXPECT_EQ(WriteFailureText(CacheWriteStatus::kTempFileFailed, fresh),
            WriteFailureText(CacheWriteStatus::kTempFileFailed));
}

}  // namespace
}  // namespace qd3
