#pragma once

namespace qd3 {

// The tag of a control that no code outside the screens looks up.
inline constexpr int kNoTag = -1;

}  // namespace qd3
