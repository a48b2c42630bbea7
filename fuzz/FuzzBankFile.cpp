// The bank-file validator and the message walk on arbitrary bytes. Holds: no sanitizer
// report; the walk stays inside the bank; an accepted bank is exactly its messages back
// to back (re-written from them it is byte-identical), every message is a row the pedal
// takes, and its restore form keeps its length and is still a row the pedal takes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "presets/BankFile.h"
#include "protocol/MessageMatch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bank(data, size);
  const qd3::BankFileCheck check = qd3::ValidateBankFile(bank);
  const std::vector<qd3::BankMessageSpan> spans = qd3::BankMessages(bank);
  for (const auto& s : spans) FUZZ_CHECK(s.offset <= size && s.size <= size - s.offset);
  (void)qd3::BankMessage(bank, static_cast<int>(spans.size()));
  (void)qd3::BankRecordChecksums(bank);
  if (!check.Valid()) {
    FUZZ_CHECK(!check.reason.empty());
    return 0;
  }
  FUZZ_CHECK(check.messageCount == static_cast<int>(spans.size()));
  // BankMessage walks from the start each time: checked at the first, a middle and the
  // last message (checking every one made this target quadratic in the bank's length).
  const int count = static_cast<int>(spans.size());
  for (const int k : {0, count / 2, count - 1}) {
    if (k < 0) break;
    const auto message = qd3::BankMessage(bank, k);
    FUZZ_CHECK(message.has_value());
    const auto& span = spans[static_cast<std::size_t>(k)];
    FUZZ_CHECK(message->data() == bank.data() + span.offset && message->size() == span.size);
  }
  std::vector<uint8_t> rewritten;
  qd3::RestoreRewriter rewriter;
  for (const auto& span : spans) {
    const auto message = bank.subspan(span.offset, span.size);
    rewritten.insert(rewritten.end(), message.begin(), message.end());
    const qd3::Bytes restore = rewriter.Rewrite(message);
    FUZZ_CHECK(restore.size() == message.size());
    FUZZ_CHECK(qd3::MatchToDevice(restore).has_value());
  }
  FUZZ_CHECK(rewritten.size() == size &&
             std::equal(rewritten.begin(), rewritten.end(), bank.begin()));
  return 0;
}
