#pragma once

// Just enough JSON for the inspector's output: string escaping and a writer that puts
// the commas in. No parser; nothing here reads JSON.

#include <string>
#include <string_view>

namespace qd3::cli {

// `text` as a JSON string literal, quotes included. Control characters become their
// short escapes or \u00XX; bytes from 0x80 up, which no name of the pedal holds, are
// taken as Latin-1 and written as \u00XX, so the output is valid JSON whatever a broken
// file holds.
std::string JsonString(std::string_view text);

// Builds one JSON value into a string: objects and arrays nest, keys and values are
// written in order, separators are added as needed.
class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view key);
  JsonWriter& String(std::string_view value);
  JsonWriter& Int(long long value);
  JsonWriter& Number(double value);  // finite values, shortest round-trip form
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  const std::string& Text() const { return mOut; }

 private:
  void Separate();

  std::string mOut;
  bool mNeedComma = false;
};

}  // namespace qd3::cli
