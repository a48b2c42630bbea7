#pragma once

// Names and texts around the two safeguards of bank-wide writes: the bank export taken
// automatically before a bank import, a factory preset update or a firmware update, and
// the check after a bank import that the pedal holds what the file held.

#include <ctime>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qd3 {

inline constexpr char kBackupsFolderName[] = "Backups";
inline constexpr char kTextRestoreVerified[] = "All 128 presets restored and verified.";

// "Backups/QD3 backup YYYY-MM-DD HHMMSS.q3b" below the base folder, from a local time.
std::filesystem::path SafetyBackupPath(const std::filesystem::path& baseFolder,
                                       const std::tm& localTime);

// Whether `fileName` has the form of SafetyBackupPath's file names.
bool IsSafetyBackupName(std::string_view fileName);

// What the player learns after a verified restore: kTextRestoreVerified when no slot
// differs and the file held all 128 (else the count it held), or the differing slots as
// the player numbers them ("%02d" of slot + offset).
std::string RestoreVerificationText(std::span<const int> differingSlots, int patchOffset,
                                    int presetsInFile);

}  // namespace qd3
