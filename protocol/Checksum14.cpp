#include "protocol/Checksum14.h"

#include "protocol/DeviceMessages.h"

namespace qd3 {

Checksum14Pair Checksum14FromSum(uint32_t sum) {
  const uint32_t wrapped = sum % kChecksumModulus;
  return {static_cast<uint8_t>((wrapped >> kBitsPer7BitByte) & kDataMask),
          static_cast<uint8_t>(wrapped & kDataMask)};
}

Checksum14Pair Checksum14(std::span<const uint8_t> bytes) {
  // Wrapping the 32-bit sum is harmless: 2^32 is a multiple of the modulus.
  uint32_t sum = 0;
  for (const uint8_t b : bytes) sum += b;
  return Checksum14FromSum(sum);
}

bool VerifyRecordChecksum(std::span<const uint8_t> message267) {
  if (message267.size() < kRecordMessageSize) return false;
  const Checksum14Pair computed = Checksum14(message267.subspan(kRecordOffset, kRecordSize));
  return message267[kChecksumHiOffset] == computed.hi &&
         message267[kChecksumLoOffset] == computed.lo;
}

}  // namespace qd3
