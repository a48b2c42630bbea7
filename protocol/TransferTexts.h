#pragma once

// The fixed texts that more than one transfer reports to the player. The editor's
// other screen texts are in QD3ControlScreenNames.h, which includes these.

namespace qd3 {

inline constexpr char kTextFinished[] = "Finished successfully!";
inline constexpr char kTextCommunicationError[] = "Communication error!";
inline constexpr char kTextUpdateFailed[] = "Error in update!";

}  // namespace qd3
