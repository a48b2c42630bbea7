#include "protocol/Handshake.h"

#include <cstdio>

#include "protocol/DeviceMessages.h"

namespace qd3 {

bool PollDue(DeviceSession& session) {
  if (!session.pollEnabled) {
    session.pollTicks = 0;
    return false;
  }
  if (++session.pollTicks <= kPollTicks) return false;
  session.pollTicks = 0;
  return true;
}

std::optional<std::string> FirmwareVersionRefusal(int versionTenths) {
  const int whole = versionTenths / kVersionTenths;
  if (whole < 1) {
    char text[64];
    std::snprintf(text, sizeof text, kTextUpgradePedal, kSupportedVersion);
    return text;
  }
  if (whole > kNewestWholeVersion) return kTextUpgradeEditor;
  return std::nullopt;
}

std::string ReadSerialNumber(std::span<const uint8_t> deviceInfo) {
  std::string serial;
  for (std::size_t i = kSerialOffset; i < kSerialOffset + kSerialSize && i < deviceInfo.size();
       ++i) {
    if (deviceInfo[i] == 0) break;
    serial.push_back(static_cast<char>(deviceInfo[i]));
  }
  serial.erase(serial.find_last_not_of(' ') + 1);
  return serial;
}

}  // namespace qd3
