#include "cli/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace qd3::cli {
namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kFirstHighByte = 0x80;

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      default:
        if (c < kFirstPrintable || c >= kFirstHighByte) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out.push_back(ch);
        }
    }
  }
  out.push_back('"');
  return out;
}

void JsonWriter::Separate() {
  if (mNeedComma) mOut += ", ";
  mNeedComma = true;
}

JsonWriter& JsonWriter::BeginObject() {
  Separate();
  mOut += '{';
  mNeedComma = false;
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  mOut += '}';
  mNeedComma = true;
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  Separate();
  mOut += '[';
  mNeedComma = false;
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  mOut += ']';
  mNeedComma = true;
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
  Separate();
  mOut += JsonString(key);
  mOut += ": ";
  mNeedComma = false;  // the value follows without a comma
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view value) {
  Separate();
  mOut += JsonString(value);
  return *this;
}

JsonWriter& JsonWriter::Int(long long value) {
  Separate();
  mOut += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Number(double value) {
  Separate();
  if (!std::isfinite(value)) {
    mOut += "null";
    return *this;
  }
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  mOut.append(buffer, result.ptr);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  Separate();
  mOut += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  Separate();
  mOut += "null";
  return *this;
}

}  // namespace qd3::cli
