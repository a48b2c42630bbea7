#include <cstdio>

#include "cli/InspectKinds.h"

namespace qd3::cli {
namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7E;
constexpr uint8_t kHighestVersionByte = 0x7F;  // above it the byte reads as negative

std::string HexByte(unsigned char b) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", b);
  return hex;
}

}  // namespace

std::string ShownName(std::string name) {
  name = name.substr(0, name.find('\0'));
  name.erase(name.find_last_not_of(' ') + 1);
  return name;
}

std::string EscapedForTerminal(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (b < kFirstPrintable || b > kLastPrintable) {
      out += "\\x" + HexByte(b).substr(2);
    } else {
      out += c;
    }
  }
  return out;
}

std::string VersionText(uint8_t major, uint8_t minor) {
  if (major > kHighestVersionByte || minor > kHighestVersionByte) {
    return "bytes " + HexByte(major) + " " + HexByte(minor);
  }
  return std::to_string(major) + "." + std::to_string(minor);
}

std::string PaddedTo(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

}  // namespace qd3::cli
