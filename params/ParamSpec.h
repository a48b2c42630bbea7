#pragma once

#include <string>
#include <utility>
#include <vector>

namespace qd3 {

enum class ParamKind { kInt, kEnum, kDouble, kUndeclared };

// The fixed description of one parameter. Values are linear between min and max;
// stepped parameters snap to whole steps.
struct ParamSpec {
  std::string name;
  ParamKind kind = ParamKind::kUndeclared;
  double defaultValue = 0.0;
  double min = 0.0;
  double max = 1.0;
  double step = 1.0;
  bool stepped = false;
  std::string label;
  // Enum only: (value, text) in value order.
  std::vector<std::pair<int, std::string>> displayTexts;
};

}  // namespace qd3
