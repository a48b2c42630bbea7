#include "ir/IrNames.h"

#include "protocol/Checksum14.h"
#include "protocol/MessageBuilders.h"
#include "protocol/MessageMatch.h"
#include "protocol/Name32.h"

namespace qd3 {
namespace {

const std::string kNoName;
constexpr int kGroupsPerBankMask = 3;  // four name groups of eight make one bank of 32

std::string Cut32(std::string_view name) {
  return std::string(name.substr(0, kNameSize));
}

// The name an entry without an IR shows: "Empty Slot n", n its place in its bank of 32.
const std::string& EmptyEntryName(int entry) {
  static const std::array<std::string, kIrBankSize> kNames = [] {
    std::array<std::string, kIrBankSize> names;
    for (int n = 0; n < kIrBankSize; ++n) names[static_cast<std::size_t>(n)] = EmptySlotName(n + 1);
    return names;
  }();
  return kNames[static_cast<std::size_t>(entry % kIrBankSize)];
}

}  // namespace

std::string EmptySlotName(int oneBased) {
  return "Empty Slot " + std::to_string(oneBased);
}

// ---- cabinet positions --------------------------------------------------------------------------

CabinetPositionNames::CabinetPositionNames() {
  for (std::size_t k = 0; k < mNames.size(); ++k) mNames[k] = kInitialPositionNames[k];
}

const std::string& CabinetPositionNames::Name(int position) const {
  if (position < 0 || position >= kCabinetPositionCount) return kNoName;
  return mNames[static_cast<std::size_t>(position)];
}

void CabinetPositionNames::LoadFromCache(const PresetCache& cache) {
  for (int k = 1; k < kCabinetPositionCount; ++k) ReloadPosition(cache, k);
}

void CabinetPositionNames::ReloadPosition(const PresetCache& cache, int position) {
  if (position < 1 || position >= kCabinetPositionCount) return;
  if (const auto field = cache.ReadIrName(CabinetIrOfPosition(position))) {
    mNames[static_cast<std::size_t>(position)] = TrimName32(*field);
  }
}

// ---- user IR names ------------------------------------------------------------------------------

UserIrNames::UserIrNames() {
  for (int m = 0; m < kUserIrNameCount; ++m)
    mNames[static_cast<std::size_t>(m)] = EmptyEntryName(m);
}

const std::string& UserIrNames::Name(int entry) const {
  if (entry < 0 || entry >= kUserIrNameCount) return kNoName;
  return mNames[static_cast<std::size_t>(entry)];
}

void UserIrNames::Set(int entry, std::string_view name) {
  if (entry < 0 || entry >= kUserIrNameCount) return;
  mNames[static_cast<std::size_t>(entry)] = Cut32(name);
}

void UserIrNames::LoadFromCache(const PresetCache& cache) {
  if (FolderCertainlyEmpty(cache.UserIrsFolder())) {
    // Every cached entry is one of this folder's files; none there, all read as empty.
    for (int m = 0; m < kCachedUserIrNames; ++m) {
      mNames[static_cast<std::size_t>(m)] = EmptyEntryName(m);
    }
    return;
  }
  for (int m = 0; m < kCachedUserIrNames; ++m) Reload(cache, m);
}

void UserIrNames::Reload(const PresetCache& cache, int irNumber) {
  if (irNumber < 0 || irNumber >= kCachedUserIrNames) return;
  const auto field = cache.ReadIrName(irNumber);
  mNames[static_cast<std::size_t>(irNumber)] =
      field ? TrimName32(*field) : EmptySlotName(irNumber % kIrBankSize + 1);
}

// ---- the user-IR list -------------------------------------------------------------------------

std::optional<IrNamesUpdate> ReadIrNames(std::span<const uint8_t> message) {
  if (MatchFromDevice(message) != kCmdIrNames || !VerifyRecordChecksum(message)) {
    return std::nullopt;
  }
  IrNamesUpdate update;
  update.group = message[kSelectorOffset];
  const int first = (update.group & kGroupsPerBankMask) * static_cast<int>(kIrNamesPerGroup);
  for (std::size_t k = 0; k < kIrNamesPerGroup; ++k) {
    const auto field = message.subspan(kIrNamesOffset + k * kNameSize).first<kNameSize>();
    const int row = first + static_cast<int>(k);
    update.rows[k] = {row, IsBlankName32(field) ? EmptySlotName(row + 1) : TrimName32(field)};
  }
  const int next = update.group + 1;
  if ((next & kGroupsPerBankMask) != 0) update.nextRequest = BuildRequestIrNames(next);
  return update;
}

IrListRows::IrListRows() {
  for (int row = 0; row < kRowCount; ++row)
    mRows[static_cast<std::size_t>(row)] = EmptySlotName(row + 1);
}

const std::string& IrListRows::Row(int row) const {
  if (row < 0 || row >= kRowCount) return kNoName;
  return mRows[static_cast<std::size_t>(row)];
}

void IrListRows::Set(int row, std::string_view text) {
  if (row < 0 || row >= kRowCount) return;
  mRows[static_cast<std::size_t>(row)] = Cut32(text);
}

void IrListRows::Apply(const IrNamesUpdate& update) {
  for (const IrListRowUpdate& row : update.rows) Set(row.row, row.text);
}

}  // namespace qd3
