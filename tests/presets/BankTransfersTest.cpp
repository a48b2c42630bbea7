// Bank export and import against the simulated pedal and against scripted replies.

#include <gtest/gtest.h>

#include <functional>

#include "presets/BankExport.h"
#include "presets/BankImport.h"
#include "protocol/MessageMatch.h"
#include "simulator/DefaultState.h"
#include "simulator/PedalModel.h"
#include "tests/support/BankTestSupport.h"

namespace qd3 {
namespace {

using test::Concat;
using test::IrTransfer;
using test::PresetDump;
using test::Status;

// Routes the pedal's replies as the editor's dispatcher does for the two bank transfers.
struct Editor {
  DeviceSession session;
  std::vector<uint8_t> bulk = std::vector<uint8_t>(kBulkBufferSize);
  BankExport bankExport{session, bulk};
  BankImport bankImport{session, bulk};
  std::vector<TransferStep> steps;
  std::vector<Bytes> sent;
  Bytes received;  // everything the pedal sent, in order
  sim::PedalModel* pedal = nullptr;
  std::function<bool(Bytes&)> wire;  // false: the reply is lost

  Editor() { session.connected = true; }

  void Feed(Bytes reply) {
    // The wire between the pedal and the editor: a fault may drop or damage a reply.
    if (wire && !wire(reply)) return;
    received.insert(received.end(), reply.begin(), reply.end());
    const auto command = MatchFromDevice(reply);
    if (!command) return;
    if (session.backupActive) {
      if (*command == kCmdPresetDump) Keep(bankExport.OnPresetDump(reply));
      if (*command == kCmdIrBegin || *command == kCmdIrData || *command == kCmdIrEnd) {
        Keep(bankExport.OnIrMessage(*command, reply));
      }
    }
    if (session.restoreActive) {
      if (*command == kCmdWriteAck) Keep(bankImport.OnWriteAck());
      if (*command == kCmdWriteNext) Keep(bankImport.OnWriteNext());
      if (*command == kCmdWriteNak) Keep(bankImport.OnWriteNak());
    }
  }
  // Records the step; messages a reply's step carries go to the pedal too.
  void Keep(TransferStep step) {
    for (const Bytes& m : step.messages) {
      sent.push_back(m);
      if (pedal != nullptr) {
        for (const Bytes& reply : pedal->Receive(m)) Feed(reply);
      }
    }
    steps.push_back(std::move(step));
  }
  // One tick of the timer chain's bank steps; the pedal (if any) answers what was sent.
  TransferStep Tick() {
    TransferStep step;
    if (session.restoreActive) {
      step = bankImport.OnTick();
    } else if (session.backupActive) {
      step = bankExport.OnTick();
    }
    Keep(step);
    return step;
  }
  // Ticks until a step ends the transfer; that step.
  TransferStep RunUntilEnd(int maxTicks) {
    for (int i = 0; i < maxTicks; ++i) {
      const std::size_t first = steps.size();
      Tick();
      for (std::size_t k = first; k < steps.size(); ++k) {
        if (steps[k].end != TransferEnd::kRunning) return steps[k];
      }
    }
    return {};
  }
};

TEST(BankExport, PedalWithUserIrsGivesTheBytesItSent) {
  sim::PedalModel pedal;
  Editor editor;
  editor.pedal = &pedal;
  editor.bankExport.Start();
  const TransferStep end = editor.RunUntilEnd(1000);
  ASSERT_EQ(end.end, TransferEnd::kFinished);
  EXPECT_EQ(end.message, "Finished successfully!");
  EXPECT_EQ(end.overlay, ProgressOverlay::kHide);
  const auto file = editor.bankExport.FileBytes();
  EXPECT_EQ(Bytes(file.begin(), file.end()), editor.received);
  EXPECT_FALSE(editor.session.backupActive);

  // 128 preset requests, then user IRs 0..3 and 130; the factory-bank IRs 256..258 of
  // slots 4..6 are not fetched.
  std::vector<int> irRequests;
  int presetRequests = 0;
  for (const Bytes& m : editor.sent) {
    if (m[kCommandOffset] == kCmdRequestPreset) ++presetRequests;
    if (m[kCommandOffset] == kCmdRequestIr) irRequests.push_back(m[7] * 128 + m[8]);
  }
  EXPECT_EQ(presetRequests, 128);
  EXPECT_EQ(irRequests, (std::vector<int>{0, 1, 2, 3, 130}));
  const BankFileCheck check = ValidateBankFile(file);
  EXPECT_TRUE(check.Valid()) << check.reason;
  EXPECT_EQ(check.messageCount, 128 + 5 * 11);
}

TEST(BankExport, NoIrsInUseEndsTwoTicksAfterTheLastDump) {
  sim::PedalModel pedal;
  for (auto& record : pedal.State().presets) {
    record[34 + 40] = 0;
    record[34 + 41] = 0;
  }
  Editor editor;
  editor.pedal = &pedal;
  editor.bankExport.Start();
  for (int i = 0; i < 128; ++i) editor.Tick();
  EXPECT_EQ(editor.session.bulkLength, 128 * 267);
  EXPECT_EQ(editor.Tick().end, TransferEnd::kRunning);  // finds no IR
  EXPECT_TRUE(editor.Tick().messages.empty());
  EXPECT_FALSE(editor.session.backupActive);
}

TEST(BankExport, OverflowStopsBeforeWritingPastTheBuffer) {
  DeviceSession session;
  session.connected = true;
  std::vector<uint8_t> memory(3 * 267 + 100, 0xAA);
  const std::span<uint8_t> buffer(memory.data(), 3 * 267 + 10);
  BankExport bankExport(session, buffer);
  bankExport.Start();
  for (int slot = 0; slot < 3; ++slot) {
    bankExport.OnTick();
    EXPECT_EQ(bankExport.OnPresetDump(PresetDump(slot)).end, TransferEnd::kRunning);
  }
  bankExport.OnTick();
  const TransferStep step = bankExport.OnPresetDump(PresetDump(3));
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_EQ(step.message, kTextExportTooLarge);
  EXPECT_FALSE(session.backupActive);
  EXPECT_TRUE(
      std::all_of(memory.begin() + 3 * 267, memory.end(), [](uint8_t b) { return b == 0xAA; }));
  EXPECT_TRUE(bankExport.OnTick().Empty());
}

TEST(BankExport, ConnectionLostAbandonsSilently) {
  Editor editor;
  editor.bankExport.Start();
  editor.Tick();
  editor.session.connected = false;
  const TransferStep step = editor.Tick();
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_TRUE(step.message.empty());
  EXPECT_FALSE(editor.session.backupActive);
}

TEST(BankExport, SilentPedalIsAskedThreeTimesMoreThenTheExportStops) {
  Editor editor;
  editor.bankExport.Start();
  const Bytes request = editor.Tick().messages.at(0);  // preset 0, never answered
  int repeats = 0;
  TransferStep step;
  for (int i = 0; i < (kExportRetries + 1) * (kExportWaitTicks + 1) + 1; ++i) {
    step = editor.Tick();
    if (step.end != TransferEnd::kRunning) break;
    for (const Bytes& m : step.messages) repeats += m == request;
  }
  EXPECT_EQ(repeats, kExportRetries);
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_EQ(step.message, kTextExportStalled);
}

// Regression: a dump that failed its checksum went into the bank file, and the export
// said "Finished successfully!".
TEST(BankExport, ADamagedDumpIsAskedForAgainAndNeverKept) {
  Editor editor;
  editor.bankExport.Start();
  Bytes damaged = PresetDump(0);
  damaged[damaged.size() - 2] ^= 1;
  TransferStep step;
  int requests = 0;
  for (int dump = 0; dump <= kExportBadDumpRetries; ++dump) {
    for (const Bytes& m : editor.Tick().messages) requests += m == BuildRequestPreset(0);
    step = editor.bankExport.OnPresetDump(damaged);
    EXPECT_EQ(editor.session.bulkLength, 0) << "a damaged dump was kept";
  }
  EXPECT_EQ(requests, kExportBadDumpRetries + 1);
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_EQ(step.message, kTextExportDumpDamaged);
}

// One preset and an IR of three chunks.
Bytes SmallBank() {
  std::vector<Bytes> messages = {PresetDump(0)};
  for (Bytes& m : IrTransfer(7, 500)) messages.push_back(m);
  return Concat(messages);
}

TEST(BankImport, OnePresetAndThreeChunkIrNeedThreeAcks) {
  Editor editor;
  ASSERT_EQ(editor.bankImport.Start(SmallBank()).end, TransferEnd::kRunning);
  EXPECT_EQ(editor.session.restoreTotal, 4);
  auto command = [](const TransferStep& s) {
    return s.messages.size() == 1 ? s.messages[0][kCommandOffset] : 0;
  };
  EXPECT_EQ(command(editor.Tick()), kCmdBulkBegin);
  EXPECT_EQ(command(editor.Tick()), kCmdRestorePreset);
  EXPECT_TRUE(editor.Tick().messages.empty());  // waits for the pedal
  editor.Feed(Status(kCmdWriteAck));
  EXPECT_EQ(command(editor.Tick()), kCmdRestoreIrBegin);
  editor.Feed(Status(kCmdWriteAck));
  const TransferStep data = editor.Tick();
  EXPECT_EQ(command(data), kCmdRestoreIrData);
  EXPECT_DOUBLE_EQ(*data.progress, 3.0 / 4.0);
  EXPECT_EQ(command(editor.Tick()), kCmdRestoreIrEnd);  // no reply needed in between
  editor.Feed(Status(kCmdWriteAck));
  const TransferStep& last = editor.steps.back();
  ASSERT_EQ(last.messages.size(), 1u);
  EXPECT_EQ(last.messages[0][kCommandOffset], kCmdBulkEnd);
  EXPECT_EQ(last.end, TransferEnd::kFinished);
  EXPECT_TRUE(editor.session.restoreFinished);
  EXPECT_FALSE(editor.session.restoreActive);
}

TEST(BankImport, WriteNextOnTheLastMessageKeepsWaiting) {
  Editor editor;
  editor.bankImport.Start(PresetDump(0));
  editor.Tick();
  editor.Tick();
  editor.Feed(Status(kCmdWriteNext));
  EXPECT_TRUE(editor.session.restoreActive);
  EXPECT_FALSE(editor.session.restoreFinished);
  editor.Feed(Status(kCmdWriteAck));
  EXPECT_TRUE(editor.session.restoreFinished);
}

TEST(BankImport, NakStopsWithCommunicationErrorSayingWhatWasWrittenAndClosesTheBracket) {
  Editor editor;
  const Bytes bank = Concat({PresetDump(0), PresetDump(1), PresetDump(2)});
  editor.bankImport.Start(bank);
  editor.Tick();  // the bracket
  editor.Tick();  // slot 0
  editor.Feed(Status(kCmdWriteAck));
  editor.Tick();  // slot 1, refused
  editor.Feed(Status(kCmdWriteNak));
  const TransferStep& step = editor.steps.back();
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_EQ(step.message,
            "Communication error! The pedal refused the bank file after 1 of its 3 presets had "
            "been written; those stay on the pedal and the rest was not sent.");
  EXPECT_EQ(step.messages, std::vector<Bytes>{BuildBulkEnd()});
  EXPECT_EQ(step.progress, 0.0);
  EXPECT_EQ(step.overlay, ProgressOverlay::kHide);
  EXPECT_FALSE(editor.session.restoreActive);
  EXPECT_TRUE(editor.Tick().messages.empty());
}

TEST(BankImport, BadBankIsRefusedBeforeAnythingIsSent) {
  Editor editor;
  Bytes bank = SmallBank();
  bank.push_back(0x00);
  const TransferStep step = editor.bankImport.Start(bank);
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_FALSE(step.message.empty());
  EXPECT_FALSE(editor.session.restoreActive);
  EXPECT_FALSE(editor.session.bulkBeginPending);
  EXPECT_TRUE(editor.Tick().messages.empty());
}

// Regression: a damaged slot 64 stopped the import half-way, slots 0..63 already
// overwritten, and the refusal was reported as a pedal that stopped answering.
TEST(BankImport, ADamagedRecordIsRefusedBeforeAnythingIsSent) {
  Editor editor;
  std::vector<Bytes> dumps;
  for (int slot = 0; slot < 128; ++slot) dumps.push_back(PresetDump(slot));
  dumps[64][kRecordOffset + 10] ^= 0x01;
  const TransferStep step = editor.bankImport.Start(Concat(dumps));
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_NE(step.message.find("a damaged preset"), std::string::npos) << step.message;
  EXPECT_NE(step.message.find("message 65"), std::string::npos) << step.message;
  EXPECT_FALSE(editor.session.restoreActive);
  EXPECT_TRUE(editor.Tick().messages.empty());
}

TEST(BankImport, SilentPedalStopsAfterFiveSecondsAndClosesTheBracket) {
  Editor editor;
  editor.bankImport.Start(SmallBank());
  editor.Tick();
  editor.Tick();  // the preset, never answered
  for (int i = 0; i < kReplyStallTicks; ++i) ASSERT_EQ(editor.Tick().end, TransferEnd::kRunning);
  const TransferStep step = editor.Tick();
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_EQ(step.message, kTextImportStalled);
  ASSERT_EQ(step.messages.size(), 1u);
  EXPECT_EQ(step.messages[0][kCommandOffset], kCmdBulkEnd);
  EXPECT_FALSE(editor.session.restoreActive);
}

TEST(BankImport, SuspendedWithoutConnectionEndsInsteadOfBlockingThePoll) {
  Editor editor;
  editor.bankImport.Start(SmallBank());
  editor.session.connected = false;
  for (int i = 0; i < kReplyStallTicks; ++i) EXPECT_TRUE(editor.Tick().messages.empty());
  const TransferStep step = editor.Tick();
  EXPECT_EQ(step.end, TransferEnd::kFailed);
  EXPECT_TRUE(step.messages.empty());  // nothing goes to a lost pedal
  EXPECT_FALSE(editor.session.restoreActive);
}

TEST(BankImport, ExportedBankRestoresIntoAnotherPedal) {
  sim::PedalModel source;
  Editor exporter;
  exporter.pedal = &source;
  exporter.bankExport.Start();
  ASSERT_EQ(exporter.RunUntilEnd(1000).end, TransferEnd::kFinished);
  const auto file = exporter.bankExport.FileBytes();
  const Bytes bank(file.begin(), file.end());

  sim::PedalModel target;
  for (auto& record : target.State().presets) record = sim::DefaultPresetRecord(5);
  for (auto& ir : target.State().userIrs) ir = sim::EmptyIrImage();
  Editor importer;
  importer.pedal = &target;
  ASSERT_EQ(importer.bankImport.Start(bank).end, TransferEnd::kRunning);
  const TransferStep end = importer.RunUntilEnd(2000);
  ASSERT_EQ(end.end, TransferEnd::kFinished) << end.message;
  EXPECT_EQ(target.State().presets, source.State().presets);
  EXPECT_EQ(target.State().userIrs, source.State().userIrs);
  EXPECT_EQ(target.Counters().bulkBegins, 1);
  EXPECT_EQ(target.Counters().bulkEnds, 1);

  // The check after reconnection: the pedal's checksums against the file's records.
  std::array<Checksum14Pair, kPresetCount> pedal{};
  for (int i = 0; i < kPresetCount; ++i)
    pedal[static_cast<std::size_t>(i)] =
        sim::RecordChecksum(target.State().presets[static_cast<std::size_t>(i)]);
  EXPECT_TRUE(SlotsDifferingFromBank(importer.bankImport.Checksums(), pedal).empty());
}

// The export of a pedal whose answers pass `wire`; its end step and file.
struct ExportRun {
  TransferStep end;
  Bytes file;
  int irRequests = 0;
};
ExportRun ExportThrough(std::function<bool(Bytes&)> wire) {
  sim::PedalModel pedal;
  Editor editor;
  editor.pedal = &pedal;
  editor.wire = std::move(wire);
  editor.bankExport.Start();
  ExportRun run;
  run.end = editor.RunUntilEnd(3000);
  const auto file = editor.bankExport.FileBytes();
  run.file.assign(file.begin(), file.end());
  for (const Bytes& m : editor.sent) run.irRequests += m[kCommandOffset] == kCmdRequestIr;
  return run;
}
bool Is(const Bytes& m, DeviceCommand command) {
  return MatchFromDevice(m) == command;
}

// Regression: an IR answer that never ended re-armed the wait with every chunk, so the
// export asked for the same IR every two seconds for ever and said nothing.
TEST(BankExport, AnIrThatNeverEndsIsAskedThreeTimesMoreThenStopsNamingIt) {
  const ExportRun run = ExportThrough([](Bytes& m) { return !Is(m, kCmdIrEnd); });
  EXPECT_EQ(run.end.end, TransferEnd::kFailed);
  EXPECT_EQ(run.end.message,
            "QD3 did not send impulse response 0 completely. The export was stopped and no "
            "file was written.");
  EXPECT_EQ(run.irRequests, 1 + kExportRetries);
}

// One fault, once, on the first IR transfer: the answer is asked for again and the file
// is the one an undisturbed export makes; a fault on every try stops the export.
TEST(BankExport, ADamagedIrAnswerIsAskedForAgainAndNeverKept) {
  const ExportRun clean = ExportThrough({});
  ASSERT_EQ(clean.end.end, TransferEnd::kFinished);
  struct Case {
    const char* name;
    std::function<bool(Bytes&)> fault;  // true when it struck
  };
  const Case cases[] = {
      {"begin lost", [](Bytes& m) { return Is(m, kCmdIrBegin); }},
      {"middle chunk lost", [](Bytes& m) { return Is(m, kCmdIrData); }},
      {"group flipped", [](Bytes& m) { return Is(m, kCmdIrData) && (m[100] ^= 1, false); }},
      {"checksum flipped",
       [](Bytes& m) { return Is(m, kCmdIrEnd) && (m[m.size() - 2] ^= 1, false); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto wire = [&c](bool always) {
      return [&c, always, struck = false](Bytes& m) mutable {
        if (struck && !always) return true;
        Bytes before = m;
        const bool lost = c.fault(m);
        struck = lost || m != before;
        return !lost;
      };
    };
    const ExportRun once = ExportThrough(wire(false));
    EXPECT_EQ(once.end.end, TransferEnd::kFinished) << once.end.message;
    EXPECT_EQ(once.file, clean.file);
    EXPECT_TRUE(ValidateBankFile(once.file).Valid());
    EXPECT_EQ(once.irRequests, clean.irRequests + 1);

    const ExportRun always = ExportThrough(wire(true));
    EXPECT_EQ(always.end.end, TransferEnd::kFailed);
    EXPECT_NE(always.end.message.find("did not send impulse response 0 completely"),
              std::string::npos)
        << always.end.message;
    EXPECT_TRUE(always.file.empty()) << "a stopped export keeps nothing";
  }
}

// IR messages nobody asked for (a late answer, another program's request) never land in
// the file between the dumps, and a late repeat of a dump does not stand for the next.
TEST(BankExport, AnswersNotAskedForAreNotKept) {
  Editor editor;
  editor.bankExport.Start();
  editor.Tick();  // asks for preset 0
  for (const Bytes& m : IrTransfer(5, 300)) editor.Feed(m);
  EXPECT_EQ(editor.session.bulkLength, 0);
  editor.Feed(PresetDump(0));
  EXPECT_EQ(editor.session.bulkLength, 267);
  editor.Tick();  // asks for preset 1
  editor.Feed(PresetDump(0));
  EXPECT_EQ(editor.session.bulkLength, 267) << "slot 0 again is not slot 1";
  editor.Feed(PresetDump(1));
  EXPECT_EQ(editor.session.bulkLength, 2 * 267);
}

}  // namespace
}  // namespace qd3
