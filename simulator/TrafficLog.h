#pragma once

// One line per message for the pedal's traffic log: direction, decoded command with its
// main field, length, every byte in hex, and a note for what a fault did to it:
//
//   E->D kCmdRequestBlock type 15 (9): F0 00 3F 6B 03 55 0B 0F F7
//   D->E kCmdAck (7): F0 00 3F 6B 03 5F F7 [dropped]

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace qd3::sim {

enum class Direction : uint8_t {
  kToPedal,    // editor to pedal
  kFromPedal,  // pedal to editor
};

using LogSink = std::function<void(const std::string& line)>;

// "F0 00 3F": two upper-case hex digits per byte, separated by single spaces.
std::string HexBytes(std::span<const uint8_t> bytes);

// The command a message carries in its direction with its main field ("kCmdParamChange
// param 1 = 65"), or "unrecognised" when it matches no row of that direction.
std::string DescribeMessage(Direction direction, std::span<const uint8_t> message);

std::string FormatTraffic(Direction direction, std::span<const uint8_t> message,
                          std::string_view note = {});

}  // namespace qd3::sim
