#pragma once

// The rules of finding the pedal that the editor and qd3ctl share: the poll's pace,
// which firmware versions are served, and how the serial number is read.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "protocol/DeviceSession.h"

namespace qd3 {

// The poll leaves when the tick count exceeds this: every 33rd 100 ms tick, 3.3 s.
inline constexpr int kPollTicks = 32;
// Firmware version byte of the device-info reply, in tenths: whole versions below 1 ask
// for a pedal update, above kNewestWholeVersion for an editor update.
inline constexpr int kSupportedVersion = 11;
inline constexpr int kNewestWholeVersion = 11;
inline constexpr int kVersionTenths = 10;

inline constexpr const char* kTextUpgradePedal = "Please upgrade QD3 to actual version %d.";
inline constexpr const char* kTextUpgradeEditor =
    "Editor version out of date. Please download the most recent version.";

// One poll step of an unconnected session: true when the device-info request is due.
// While polling is off the count stays at zero.
bool PollDue(DeviceSession& session);

// The message that refuses a firmware version (in tenths); nullopt when it is served.
std::optional<std::string> FirmwareVersionRefusal(int versionTenths);

// The serial number of a device-info reply: a NUL ends it, trailing spaces are cut.
std::string ReadSerialNumber(std::span<const uint8_t> deviceInfo);

}  // namespace qd3
