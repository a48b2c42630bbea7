#include "protocol/Name32.h"

#include <algorithm>

namespace qd3 {
namespace {

constexpr char kUnsendable = '?';

}  // namespace

bool IsBlankName32(std::span<const uint8_t, kNameSize> field) {
  return std::all_of(field.begin(), field.end(), [](uint8_t c) { return c == kNamePad; });
}

std::string TrimName32(std::span<const uint8_t, kNameSize> field) {
  if (IsBlankName32(field)) return {};
  std::size_t length = 1;
  for (std::size_t i = kNameSize - 1; i >= 1; --i) {
    if (field[i] != kNamePad) {
      length = i + 1;
      break;
    }
  }
  return std::string(field.begin(), field.begin() + static_cast<std::ptrdiff_t>(length));
}

void WriteName32(std::string_view name, std::span<uint8_t, kNameSize> field) {
  std::fill(field.begin(), field.end(), kNamePad);
  const std::size_t count = std::min(name.size(), kNameSize);
  for (std::size_t i = 0; i < count; ++i) {
    const auto c = static_cast<uint8_t>(name[i]);
    field[i] = c > kDataMask ? static_cast<uint8_t>(kUnsendable) : c;
  }
}

}  // namespace qd3
