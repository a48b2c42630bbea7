#include "presets/BankFile.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <system_error>

#include "protocol/MessageMatch.h"
#include "protocol/SevenBit.h"

namespace qd3 {
namespace {

constexpr uint8_t kStatusBit = 0x80;
constexpr std::size_t kMaxIrEndSize = kIrChunkGroups + kIrEndOverhead;
constexpr std::size_t kIrEndChecksumFromEnd = 3;  // hi at length-3, lo at length-2

const char* FaultWhat(BankFileFault fault) {
  switch (fault) {
    case BankFileFault::kNone:
      return "";
    case BankFileFault::kEmpty:
      return "it holds no messages";
    case BankFileFault::kTooLarge:
      return "it is larger than 1,048,576 bytes";
    case BankFileFault::kStrayByte:
      return "a byte outside any message";
    case BankFileFault::kMissingEnd:
      return "a message without its end";
    case BankFileFault::kNotThisPedal:
      return "a message for another device";
    case BankFileFault::kUnknownCommand:
      return "a message that is not a preset or IR dump";
    case BankFileFault::kWrongLength:
      return "a message of the wrong length";
    case BankFileFault::kBrokenIrTransfer:
      return "an incomplete IR transfer";
    case BankFileFault::kDamagedIrTransfer:
      return "a damaged IR transfer (its checksum does not match)";
    case BankFileFault::kDamagedPreset:
      return "a damaged preset (its checksum does not match)";
  }
  return "";
}

BankFileCheck Refuse(BankFileFault fault, std::size_t offset, int count) {
  BankFileCheck check;
  check.fault = fault;
  check.offset = offset;
  check.messageCount = count;
  check.reason = std::string("This file is not a usable QD3 bank: ") + FaultWhat(fault);
  if (fault != BankFileFault::kEmpty && fault != BankFileFault::kTooLarge) {
    check.reason +=
        " (message " + std::to_string(count + 1) + ", byte " + std::to_string(offset) + ")";
  }
  check.reason += ". Nothing was sent to the pedal.";
  return check;
}

uint32_t SumOf(std::span<const uint8_t> message, std::size_t from, std::size_t to) {
  return std::accumulate(message.begin() + static_cast<std::ptrdiff_t>(from),
                         message.begin() + static_cast<std::ptrdiff_t>(to), 0u);
}

// Tracks one IR transfer through the bank: begin, whole data chunks, end, with the group
// count of the begin met exactly, and the sum of its groups.
class IrTransferCheck {
 public:
  bool Begin(std::span<const uint8_t> message) {
    if (mOpen) return false;
    const auto total = Read21(message, kIrGroupCountOffset);
    if (!total || static_cast<std::size_t>(*total) < kIrChunkGroups) return false;
    mOpen = true;
    mTotal = static_cast<std::size_t>(*total);
    mSeen = kIrChunkGroups;
    mSum = SumOf(message, kIrBeginGroupsOffset, kIrBeginGroupsOffset + kIrChunkGroups);
    return true;
  }
  bool Data(std::span<const uint8_t> message) {
    mSeen += kIrChunkGroups;
    mSum += SumOf(message, kIrDataGroupsOffset, kIrDataGroupsOffset + kIrChunkGroups);
    return mOpen && mSeen < mTotal + 1;
  }
  bool End(std::span<const uint8_t> message) {
    if (!mOpen) return false;
    mOpen = false;
    const std::size_t checksumAt = message.size() - kIrEndChecksumFromEnd;
    mSum += SumOf(message, kIrEndGroupsOffset, checksumAt);
    const Checksum14Pair sent{message[checksumAt], message[checksumAt + 1]};
    mSumMatches = Checksum14FromSum(mSum) == sent;
    return mSeen + (message.size() - kIrEndOverhead) == mTotal;
  }
  bool Open() const { return mOpen; }
  // After End: whether the groups sum to the transfer's own checksum.
  bool SumMatches() const { return mSumMatches; }

 private:
  bool mOpen = false;
  std::size_t mTotal = 0;
  std::size_t mSeen = 0;
  uint32_t mSum = 0;
  bool mSumMatches = false;
};

// The index of the first end byte at or after `from`; bank.size() when there is none. A bank
// holds about 37 kB in 128 messages, walked on every import.
std::size_t NextEndByte(std::span<const uint8_t> bank, std::size_t from) {
  if (from >= bank.size()) return bank.size();
  const void* found = std::memchr(bank.data() + from, kSysExEnd, bank.size() - from);
  return found ? static_cast<std::size_t>(static_cast<const uint8_t*>(found) - bank.data())
               : bank.size();
}

bool HeaderIsThisPedal(std::span<const uint8_t> message) {
  return std::equal(kManufacturerId.begin(), kManufacturerId.end(),
                    message.begin() + kManufacturerOffset) &&
         message[kModelOffset] == kModelDevice;
}

}  // namespace

BankFileCheck ValidateBankFile(std::span<const uint8_t> bank) {
  if (bank.size() > kBulkBufferSize) return Refuse(BankFileFault::kTooLarge, 0, 0);
  if (bank.empty()) return Refuse(BankFileFault::kEmpty, 0, 0);
  IrTransferCheck ir;
  int count = 0;
  std::size_t pos = 0;
  while (pos < bank.size()) {
    if (bank[pos] != kSysExStart) return Refuse(BankFileFault::kStrayByte, pos, count);
    std::size_t end = pos + 1;
    while (end < bank.size() && (bank[end] & kStatusBit) == 0) ++end;
    if (end == bank.size() || bank[end] != kSysExEnd) {
      return Refuse(BankFileFault::kMissingEnd, pos, count);
    }
    const std::span<const uint8_t> message = bank.subspan(pos, end - pos + 1);
    if (message.size() < kNoPayloadSize) return Refuse(BankFileFault::kWrongLength, pos, count);
    if (!HeaderIsThisPedal(message)) return Refuse(BankFileFault::kNotThisPedal, pos, count);

    bool lengthOk = false;
    bool sequenceOk = true;
    bool intact = true;
    switch (message[kCommandOffset]) {
      case kCmdPresetDump:
        lengthOk = message.size() == kRecordMessageSize;
        sequenceOk = !ir.Open();
        break;
      case kCmdIrBegin:
        lengthOk = message.size() == kIrBeginSize;
        sequenceOk = !lengthOk || ir.Begin(message);
        break;
      case kCmdIrData:
        lengthOk = message.size() == kIrDataSize;
        sequenceOk = !lengthOk || ir.Data(message);
        break;
      case kCmdIrEnd:
        lengthOk = message.size() >= kIrEndOverhead && message.size() <= kMaxIrEndSize;
        sequenceOk = !lengthOk || ir.End(message);
        intact = !lengthOk || !sequenceOk || ir.SumMatches();
        break;
      default:
        return Refuse(BankFileFault::kUnknownCommand, pos, count);
    }
    if (!lengthOk) return Refuse(BankFileFault::kWrongLength, pos, count);
    if (!sequenceOk) return Refuse(BankFileFault::kBrokenIrTransfer, pos, count);
    if (!intact) return Refuse(BankFileFault::kDamagedIrTransfer, pos, count);
    ++count;
    pos = end + 1;
  }
  if (ir.Open()) return Refuse(BankFileFault::kBrokenIrTransfer, bank.size(), count);
  BankFileCheck check;
  check.messageCount = count;
  return check;
}

BankFileCheck CheckBankRecords(std::span<const uint8_t> bank) {
  int count = 0;
  for (const BankMessageSpan& m : BankMessages(bank)) {
    const auto message = bank.subspan(m.offset, m.size);
    if (message.size() == kRecordMessageSize && message[kCommandOffset] == kCmdPresetDump &&
        !VerifyRecordChecksum(message)) {
      return Refuse(BankFileFault::kDamagedPreset, m.offset, count);
    }
    ++count;
  }
  BankFileCheck check;
  check.messageCount = count;
  return check;
}

int PresetCountOf(const BankChecksums& bank) {
  return static_cast<int>(
      std::count_if(bank.begin(), bank.end(), [](const auto& sum) { return sum.has_value(); }));
}

std::vector<BankMessageSpan> BankMessages(std::span<const uint8_t> bank) {
  std::vector<BankMessageSpan> messages;
  for (std::size_t start = 0, end; (end = NextEndByte(bank, start)) < bank.size();
       start = end + 1) {
    messages.push_back({start, end + 1 - start});
  }
  return messages;
}

std::optional<std::span<const uint8_t>> BankMessage(std::span<const uint8_t> bank, int k) {
  if (k < 0) return std::nullopt;
  int seen = 0;
  for (std::size_t start = 0, end; (end = NextEndByte(bank, start)) < bank.size();
       start = end + 1) {
    if (seen++ == k) return bank.subspan(start, end + 1 - start);
  }
  return std::nullopt;
}

Bytes RestoreRewriter::Rewrite(std::span<const uint8_t> message) {
  Bytes out(message.begin(), message.end());
  if (out.size() <= kCommandOffset) return out;
  auto sum = [&](std::size_t from, std::size_t to) {
    if (to > out.size() || from > to) return 0u;
    return std::accumulate(out.begin() + static_cast<std::ptrdiff_t>(from),
                           out.begin() + static_cast<std::ptrdiff_t>(to), 0u);
  };
  switch (out[kCommandOffset]) {
    case kCmdPresetDump:
      out[kCommandOffset] = kCmdRestorePreset;
      break;
    case kCmdIrBegin:
      out[kCommandOffset] = kCmdRestoreIrBegin;
      mIrSum = sum(kIrBeginGroupsOffset, kIrBeginGroupsOffset + kIrChunkGroups);
      break;
    case kCmdIrData:
      out[kCommandOffset] = kCmdRestoreIrData;
      mIrSum += sum(kIrDataGroupsOffset, kIrDataGroupsOffset + kIrChunkGroups);
      break;
    case kCmdIrEnd: {
      out[kCommandOffset] = kCmdRestoreIrEnd;
      if (out.size() < kIrEndOverhead) break;
      mIrSum += sum(kIrEndGroupsOffset, out.size() - kIrEndChecksumFromEnd);
      const Checksum14Pair pair = Checksum14FromSum(mIrSum);
      out[out.size() - kIrEndChecksumFromEnd] = pair.hi;
      out[out.size() - kIrEndChecksumFromEnd + 1] = pair.lo;
      break;
    }
    default:
      break;
  }
  return out;
}

BankChecksums BankRecordChecksums(std::span<const uint8_t> bank) {
  BankChecksums checksums{};
  for (const BankMessageSpan& m : BankMessages(bank)) {
    const auto message = bank.subspan(m.offset, m.size);
    if (message.size() != kRecordMessageSize || message[kCommandOffset] != kCmdPresetDump) {
      continue;
    }
    const int slot = message[kSelectorOffset];
    if (slot >= kPresetCount) continue;
    checksums[static_cast<std::size_t>(slot)] =
        Checksum14(message.subspan(kRecordOffset, kRecordSize));
  }
  return checksums;
}

std::vector<int> SlotsDifferingFromBank(const BankChecksums& bank,
                                        std::span<const Checksum14Pair, kPresetCount> pedal) {
  std::vector<int> slots;
  for (std::size_t i = 0; i < bank.size(); ++i) {
    if (bank[i] && *bank[i] != pedal[i]) slots.push_back(static_cast<int>(i));
  }
  return slots;
}

CacheWriteStatus SaveBankFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  std::error_code error;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
  if (error) return CacheWriteStatus::kFolderUnavailable;
  return WriteFileReplacing(path, bytes);
}

}  // namespace qd3
