#include "presets/SlotLabels.h"

#include <algorithm>
#include <cstdio>

namespace qd3 {
namespace {

// Room for " %02d " of any int and the terminator.
constexpr std::size_t kNumberTextCapacity = 16;

std::string FormatSlotNumber(const char* format, int slot, int offset) {
  char text[kNumberTextCapacity];
  const int length = std::snprintf(text, sizeof text, format, slot + offset);
  return std::string(text, static_cast<std::size_t>(std::max(length, 0)));
}

}  // namespace

std::string SlotNumberText(int slot, int offset) {
  return FormatSlotNumber("%02d", slot, offset);
}

std::string EmptySlotLabel(int slot, int offset) {
  return FormatSlotNumber(" %02d ", slot, offset);
}

std::string CachedSlotLabel(int slot, int offset, const PresetRecord& record) {
  return EmptySlotLabel(slot, offset) + record.NameUpToNul();
}

std::string CurrentPresetLabel(int slot, int offset, std::string_view name) {
  // The name is printed as a C string: a NUL byte ends it.
  std::string label = EmptySlotLabel(slot, offset);
  label.append(name.substr(0, name.find('\0')));
  if (label.size() > kCurrentPresetLabelMaxLength) label.resize(kCurrentPresetLabelMaxLength);
  return label;
}

std::string CurrentPresetLabel(int slot, int offset, const PresetRecord& record) {
  return CurrentPresetLabel(slot, offset, record.NameUpToNul());
}

PresetRowKind RowKindOf(bool isCurrentRow) {
  return isCurrentRow ? PresetRowKind::kCurrent : PresetRowKind::kOther;
}

int ListScrollForSlot(int slot) {
  return kListScrollMax - std::min(slot, kListScrollMax);
}

}  // namespace qd3
