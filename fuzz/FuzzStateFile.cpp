// The simulator's state-file decoder. A whole state file is about 790 kB, far past a
// useful fuzz input, so byte 0 picks how the image is made:
//   bit 0 clear: the rest of the input is the image (headers, sizes, short files);
//   bit 0 set:   the default state's image with patches laid over it, each patch a
//                three-byte little-endian offset (taken modulo the image size), a length
//                byte and that many bytes; with bit 1 set the CRC-32 is then made right,
//                so that the content checks behind it are reached.
// Holds: no sanitizer report; a refused image leaves the state untouched; an accepted
// one encodes back to the same bytes, except the serial field's unused bytes (after the
// serial's length; the decoder does not keep them, the encoder writes zeros) and, when
// those differed, the CRC.
//
// One state is kept for the process and put back to the default after an accepted
// image, so every input starts from the default without a 790 kB copy per input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "fuzz/FuzzSupport.h"
#include "simulator/DefaultState.h"
#include "simulator/StateFile.h"

namespace {

constexpr uint8_t kPatchMode = 0x01;
constexpr uint8_t kFixCrc = 0x02;
constexpr std::size_t kPatchHeader = 4;  // offset (3 bytes), length (1 byte)
constexpr std::size_t kFileHeaderSize = 16;
constexpr std::size_t kCrcSize = 4;
constexpr std::size_t kSerialLengthAt = kFileHeaderSize + 2;  // after firmware, current preset
constexpr std::size_t kSerialAt = kSerialLengthAt + 1;
constexpr std::size_t kSerialField = 32;

// Whether `again` (the accepted image encoded again) is `image` up to the unused serial
// bytes and the CRC over them.
bool SameUpToSerialPadding(const qd3::Bytes& again, std::span<const uint8_t> image) {
  if (again.size() != image.size() || image.size() < kSerialAt + kSerialField + kCrcSize) {
    return false;
  }
  const std::size_t used = std::min<std::size_t>(image[kSerialLengthAt], kSerialField);
  const std::size_t padFrom = kSerialAt + used;
  const std::size_t padTo = kSerialAt + kSerialField;
  const std::size_t crcAt = image.size() - kCrcSize;
  // Whole stretches by memcmp: a byte loop here, traced for coverage, was half of every
  // execution.
  const auto same = [&](std::size_t from, std::size_t to) {
    return std::memcmp(again.data() + from, image.data() + from, to - from) == 0;
  };
  if (!same(0, padFrom) || !same(padTo, crcAt)) return false;
  bool paddingSame = true;
  for (std::size_t i = padFrom; i < padTo; ++i) {
    if (again[i] == image[i]) continue;
    if (again[i] != 0) return false;
    paddingSame = false;
  }
  return !paddingSame || same(crcAt, image.size());
}

void PutCrc(qd3::Bytes& image) {
  if (image.size() < kFileHeaderSize + kCrcSize) return;
  const std::size_t payloadEnd = image.size() - kCrcSize;
  const uint32_t crc = qd3::sim::Crc32(
      std::span<const uint8_t>(image).subspan(kFileHeaderSize, payloadEnd - kFileHeaderSize));
  for (std::size_t i = 0; i < kCrcSize; ++i)
    image[payloadEnd + i] = static_cast<uint8_t>(crc >> (8 * i));
}

// The default image with the input's patches applied; `image` keeps its storage.
void Patch(std::span<const uint8_t> input, const qd3::Bytes& base, qd3::Bytes& image) {
  image = base;
  while (input.size() >= kPatchHeader) {
    const std::size_t offset =
        (input[0] | (std::size_t{input[1]} << 8) | (std::size_t{input[2]} << 16)) % image.size();
    const std::size_t length = std::min<std::size_t>(input[3], input.size() - kPatchHeader);
    const auto bytes = input.subspan(kPatchHeader, length);
    for (std::size_t i = 0; i < bytes.size() && offset + i < image.size(); ++i) {
      image[offset + i] = bytes[i];
    }
    input = input.subspan(kPatchHeader + length);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const qd3::sim::PedalState kDefault = qd3::sim::DefaultPedalState();
  static const qd3::Bytes kDefaultImage = qd3::sim::EncodeState(kDefault);
  static qd3::sim::PedalState state = kDefault;
  static qd3::Bytes patched;

  const std::span<const uint8_t> rest(data + 1, size - 1);
  std::span<const uint8_t> image = rest;
  if ((data[0] & kPatchMode) != 0) {
    Patch(rest, kDefaultImage, patched);
    if ((data[0] & kFixCrc) != 0) PutCrc(patched);
    image = patched;
  }

  const auto status = qd3::sim::DecodeState(image, state);
  if (status != qd3::sim::StateFileStatus::kOk) {
    FUZZ_CHECK(state == kDefault);
    return 0;
  }
  const qd3::Bytes again = qd3::sim::EncodeState(state);
  FUZZ_CHECK(SameUpToSerialPadding(again, image));
  state = kDefault;
  return 0;
}
