#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace qd3::test {

// Collects every message handed to a sink, in order.
struct CapturedMessages {
  std::vector<std::vector<uint8_t>> messages;

  auto Sink() {
    return [this](std::span<const uint8_t> m) { messages.emplace_back(m.begin(), m.end()); };
  }
  void Clear() { messages.clear(); }
};

}  // namespace qd3::test
