#pragma once

// The bank file (".q3b"): the pedal's own SysEx messages as a bank export received them,
// back to back, at most 1,048,576 bytes:
//
//   128 x kCmdPresetDump (0x41, 267 bytes), slots 0..127
//   for each user IR in use, in increasing number: kCmdIrBegin (0x60, 269 bytes), the
//   kCmdIrData chunks (0x65, 264 bytes each), kCmdIrEnd (0x66, k + 10 bytes, k <= 256)
//
// Message k starts right after the k-th 0xF7 and ends with the next 0xF7, inclusive. A
// bank import replays the messages with the restore commands in byte 5.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "presets/CacheFileIo.h"
#include "protocol/Checksum14.h"
#include "protocol/DeviceMessages.h"

namespace qd3 {

inline constexpr std::size_t kBulkBufferSize = 1048576;
inline constexpr char kBankFileExtension[] = "q3b";
inline constexpr char kBankFileDefaultName[] = "QD3_Presets_and_IRs";

enum class BankFileFault : uint8_t {
  kNone,
  kEmpty,              // no message at all
  kTooLarge,           // more than 1,048,576 bytes
  kStrayByte,          // a byte between messages that does not start one
  kMissingEnd,         // a message without its 0xF7 (cut short, or another starts inside it)
  kNotThisPedal,       // manufacturer or model bytes of another device
  kUnknownCommand,     // a command a bank does not hold
  kWrongLength,        // a known command with the wrong length
  kBrokenIrTransfer,   // IR chunks out of order or a group count that does not add up
  kDamagedIrTransfer,  // an IR transfer whose groups do not sum to its checksum
  kDamagedPreset,      // a preset dump whose record does not match its checksum
};

struct BankFileCheck {
  BankFileFault fault = BankFileFault::kNone;
  std::size_t offset = 0;  // where the fault was found
  int messageCount = 0;    // messages found valid (all of them when fault is kNone)
  std::string reason;      // for the player; empty when the bank is valid

  bool Valid() const { return fault == BankFileFault::kNone; }
};

// Accepts only complete SysEx messages of this pedal's bank commands with their exact
// lengths and 7-bit payloads, IR transfers whole, in order and matching their own
// checksums. Nothing is sent before a bank passes: the restore recomputes the IR checksum
// for its rewritten command, so a damaged transfer would otherwise reach the pedal looking
// whole. A preset dump keeps its own checksum on the way, and the pedal checks that one
// (inspecting a bank lists a damaged dump as such).
BankFileCheck ValidateBankFile(std::span<const uint8_t> bank);

// The first preset dump of a valid bank whose record does not match its checksum, refused
// as ValidateBankFile refuses (reason with message and byte); a passing check when every
// record holds. The import asks this before sending anything: a damaged slot would
// otherwise stop it half-way, the slots before it already overwritten. Inspecting a bank
// does not, and lists such a dump as damaged.
BankFileCheck CheckBankRecords(std::span<const uint8_t> bank);

// Message k of the bank by the 0xF7 walk; nullopt when the bank has no such message.
std::optional<std::span<const uint8_t>> BankMessage(std::span<const uint8_t> bank, int k);

// Start offsets and lengths of every message, in one pass of the same walk.
struct BankMessageSpan {
  std::size_t offset = 0;
  std::size_t size = 0;
};
std::vector<BankMessageSpan> BankMessages(std::span<const uint8_t> bank);

// Rewrites bank messages into their restore form: 0x41 -> 0x7F, 0x60 -> 0x77,
// 0x65 -> 0x78, 0x66 -> 0x79. The IR transfer's checksum is recomputed on the way: the
// sum starts with the begin's 256 groups (bytes 12..267), each data chunk adds bytes
// 7..262, the end adds bytes 7..length-4, and the end's bytes length-3 and length-2
// become the sum's 14 bits, high first.
class RestoreRewriter {
 public:
  Bytes Rewrite(std::span<const uint8_t> message);

 private:
  uint32_t mIrSum = 0;
};

// Per slot, the checksum of the record each preset dump of the bank carries (computed
// over bytes 8..263); slots the bank has no dump for stay empty.
using BankChecksums = std::array<std::optional<Checksum14Pair>, kPresetCount>;
BankChecksums BankRecordChecksums(std::span<const uint8_t> bank);
// How many slots the bank holds a dump for.
int PresetCountOf(const BankChecksums& bank);

// Slots whose checksum on the pedal differs from the bank's record, in increasing order.
// `pedal` holds the 128 pairs of the pedal's checksum block.
std::vector<int> SlotsDifferingFromBank(const BankChecksums& bank,
                                        std::span<const Checksum14Pair, kPresetCount> pedal);

// Writes a bank file through a temporary file and a rename, creating its folder first
// when it is missing (the safety backups' "Backups" folder): a failure keeps the old file.
CacheWriteStatus SaveBankFile(const std::filesystem::path& path, std::span<const uint8_t> bytes);

}  // namespace qd3
