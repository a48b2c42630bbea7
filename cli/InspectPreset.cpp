// Preset files and preset records: the name, the 65 sound parameters with the texts the
// editor's screen shows for them, and the names of the two user IRs.
#include <cstdio>
#include <string>

#include "cli/InspectKinds.h"
#include "cli/Json.h"
#include "params/ParamCatalogue.h"
#include "params/ValueDisplay.h"
#include "presets/PresetRecord.h"
#include "protocol/Name32.h"

namespace qd3::cli {
namespace {

struct SoundFields {
  std::string name;
  std::string version;  // "major.minor", or the bytes
  const SoundParams* params = nullptr;
  std::string irName7;
  std::string irName8;
};

void WriteSoundJson(JsonWriter& json, const SoundFields& f) {
  json.Key("name").String(f.name).Key("version").String(f.version);
  json.Key("params").BeginArray();
  for (const int raw : *f.params) json.Int(raw);
  json.EndArray();
  json.Key("texts").BeginArray();
  for (int i = 0; i < kRecordParamCount; ++i) {
    const auto text = ParamValueText(i, (*f.params)[static_cast<std::size_t>(i)]);
    if (!text) {
      json.Null();
    } else if (i == kParamDynamics || i == kParamAnalogSim) {  // the two texts with a title
      json.BeginObject().Key("title").String(text->title).Key("value").String(text->value);
      json.EndObject();
    } else {
      json.String(text->value);
    }
  }
  json.EndArray();
  json.Key("ir_names").BeginArray().String(f.irName7).String(f.irName8).EndArray();
}

std::string SoundText(const SoundFields& f) {
  static const ParamCatalogue catalogue;
  auto orDash = [](const std::string& name) {
    return name.empty() ? std::string("-") : EscapedForTerminal(name);
  };
  std::string out = "name: " + EscapedForTerminal(f.name) + "\n";
  out += "user IR, position 7: " + orDash(f.irName7) + "\n";
  out += "user IR, position 8: " + orDash(f.irName8) + "\n";
  out += "parameters (index, name, raw value, shown as):\n";
  for (int i = 0; i < kRecordParamCount; ++i) {
    const int raw = (*f.params)[static_cast<std::size_t>(i)];
    char line[96];
    std::snprintf(line, sizeof line, "  %2d  %-24s %4d", i, catalogue[i].Info().name.c_str(), raw);
    out += line;
    if (const auto text = ParamValueText(i, raw)) {
      out += "  " + text->value;
      if (!text->title.empty()) out += " (" + text->title + ")";
    }
    out += "\n";
  }
  return out;
}

}  // namespace

InspectOutput InspectPreset(const PresetFileData& file, std::span<const uint8_t> bytes, bool json) {
  SoundFields f;
  f.name = ShownName(file.name);
  f.version =
      VersionText(bytes[kPresetFileVersionMajorOffset], bytes[kPresetFileVersionMinorOffset]);
  f.params = &file.params;
  f.irName7 = ShownName(file.position7IrName);
  f.irName8 = ShownName(file.position8IrName);
  const auto blocks = static_cast<int>(file.blocks.size());
  if (json) {
    JsonWriter w;
    w.BeginObject().Key("kind").String("preset");
    WriteSoundJson(w, f);
    w.Key("ir_blocks").Int(blocks).EndObject();
    return Shown(w.Text());
  }
  std::string out = "preset file, format " + f.version + ", " + std::to_string(blocks) +
                    (blocks == 1 ? " IR block" : " IR blocks") + "\n";
  return Shown(out + SoundText(f));
}

InspectOutput InspectRecord(std::span<const uint8_t> bytes, bool json) {
  const PresetRecord record = PresetRecord::FromPrefix(bytes);
  SoundParams params{};
  for (int i = 0; i < kRecordParamCount; ++i) params[static_cast<std::size_t>(i)] = record.Param(i);
  SoundFields f;
  f.name = ShownName(TrimName32(record.NameField()));
  f.version = VersionText(record.FormatMajor(), record.FormatMinor());
  f.params = &params;
  f.irName7 = ShownName(record.TrimmedUserIrName(UserIrPosition::kPosition7));
  f.irName8 = ShownName(record.TrimmedUserIrName(UserIrPosition::kPosition8));
  const int checksum = record.Checksum().Value();
  if (json) {
    JsonWriter w;
    w.BeginObject().Key("kind").String("record");
    WriteSoundJson(w, f);
    w.Key("checksum").Int(checksum).EndObject();
    return Shown(w.Text());
  }
  char head[80];
  std::snprintf(head, sizeof head, "preset record, format %s, checksum %d\n", f.version.c_str(),
                checksum);
  return Shown(head + SoundText(f));
}

}  // namespace qd3::cli
