#pragma once

// What qd3ctl tells the shell that ran it.

namespace qd3::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;        // bad arguments, or a question nobody can answer
inline constexpr int kExitBadFile = 2;      // a file that cannot be read or written as asked
inline constexpr int kExitPedalFailed = 3;  // the pedal could not be reached, refused or stalled

}  // namespace qd3::cli
