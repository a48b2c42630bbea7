#pragma once

// What qd3ctl tells the shell that ran it.

namespace qd3::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;        // bad arguments, or a question nobody can answer
inline constexpr int kExitBadFile = 2;      // a file that cannot be read or written as asked
inline constexpr int kExitPedalFailed = 3;  // the pedal could not be reached, refused or stalled
// diff answers as diff(1) does: 0 equal, 1 different, 2 a file it cannot compare (or a
// usage error, so that 1 always means "different").
inline constexpr int kExitDiffers = 1;
inline constexpr int kExitDiffTrouble = 2;

}  // namespace qd3::cli
