#include "cli/Diff.h"

#include <algorithm>
#include <map>
#include <optional>

#include "cli/InspectKinds.h"
#include "params/ParamCatalogue.h"
#include "params/ValueDisplay.h"
#include "presets/BankFile.h"
#include "presets/IrFileLayout.h"
#include "presets/PresetFile.h"
#include "presets/PresetRecord.h"
#include "protocol/DeviceMessages.h"
#include "protocol/Name32.h"

namespace qd3::cli {
namespace {

constexpr const char* kArrow = " \xE2\x86\x92 ";  // U+2192

// One preset as the comparison sees it, from a preset file or a bank's dump.
struct Sound {
  std::string name;
  SoundParams params{};
  std::string irName7;
  std::string irName8;
};

std::string ValueShown(int index, int raw) {
  const auto text = ParamValueText(index, raw);
  if (!text) return std::to_string(raw);
  return text->title.empty() ? text->value : text->value + " (" + text->title + ")";
}

std::string Quoted(const std::string& name) {
  // Appended piece by piece: GCC 12 at -O3 warns (wrongly) about "literal" + string.
  std::string quoted(1, '"');
  quoted.append(EscapedForTerminal(name));
  quoted.push_back('"');
  return quoted;
}

void CompareSounds(const Sound& a, const Sound& b, const std::string& prefix,
                   std::vector<std::string>& lines) {
  static const ParamCatalogue catalogue;
  if (a.name != b.name)
    lines.push_back(prefix + "name: " + Quoted(a.name) + kArrow + Quoted(b.name));
  for (int i = 0; i < kRecordParamCount; ++i) {
    const int ra = a.params[static_cast<std::size_t>(i)];
    const int rb = b.params[static_cast<std::size_t>(i)];
    if (ra == rb) continue;
    lines.push_back(prefix + catalogue[i].Info().name + ": " + ValueShown(i, ra) + kArrow +
                    ValueShown(i, rb));
  }
  if (a.irName7 != b.irName7) {
    lines.push_back(prefix + "user IR, position 7: " + Quoted(a.irName7) + kArrow +
                    Quoted(b.irName7));
  }
  if (a.irName8 != b.irName8) {
    lines.push_back(prefix + "user IR, position 8: " + Quoted(a.irName8) + kArrow +
                    Quoted(b.irName8));
  }
}

std::optional<PresetFileData> ReadPreset(std::span<const uint8_t> bytes, std::string& error) {
  if (bytes.size() < kPresetFileHeaderSize || bytes.size() >= kPresetFileSizeLimit) {
    error = "not a whole preset file";
    return std::nullopt;
  }
  PresetFileData file = ReadPresetFile(bytes);
  if (file.status != PresetFileStatus::kRead) {
    error = file.message.empty() ? "not a readable preset file" : file.message;
    return std::nullopt;
  }
  return file;
}

Sound SoundOfFile(const PresetFileData& file) {
  return {ShownName(file.name), file.params, ShownName(file.position7IrName),
          ShownName(file.position8IrName)};
}

Sound SoundOfRecord(std::span<const uint8_t> recordBytes) {
  const PresetRecord record = PresetRecord::FromPrefix(recordBytes);
  Sound s;
  s.name = ShownName(TrimName32(record.NameField()));
  for (int i = 0; i < kRecordParamCount; ++i)
    s.params[static_cast<std::size_t>(i)] = record.Param(i);
  s.irName7 = ShownName(record.TrimmedUserIrName(UserIrPosition::kPosition7));
  s.irName8 = ShownName(record.TrimmedUserIrName(UserIrPosition::kPosition8));
  return s;
}

// A bank's presets by slot and its IR images by number (the last of each wins, as on the
// pedal after an import).
struct Bank {
  std::map<int, Sound> presets;
  std::map<int, std::vector<uint8_t>> irs;
};

std::optional<Bank> ReadBank(std::span<const uint8_t> bytes, std::string& error) {
  const BankFileCheck check = ValidateBankFile(bytes);
  if (!check.Valid()) {
    error = "bank file broken at byte " + std::to_string(check.offset) + ": " + check.reason;
    return std::nullopt;
  }
  Bank bank;
  WalkBank(
      bytes,
      [&](std::span<const uint8_t> m) {
        if (m.size() >= kRecordOffset + kPresetRecordSize) {
          bank.presets[m[kSelectorOffset]] = SoundOfRecord(m.subspan(kRecordOffset));
        }
      },
      [&](const IrReceiveResult& r) {
        bank.irs[r.irNumber] = std::vector<uint8_t>(r.bytes.begin(), r.bytes.end());
      });
  return bank;
}

std::string SlotPrefix(int slot) {
  char text[16];
  std::snprintf(text, sizeof text, "slot %03d ", slot);
  return text;
}

void CompareBanks(const Bank& a, const Bank& b, std::vector<std::string>& lines) {
  for (int slot = 0; slot < kPresetCount; ++slot) {
    const auto ia = a.presets.find(slot);
    const auto ib = b.presets.find(slot);
    const bool inA = ia != a.presets.end();
    const bool inB = ib != b.presets.end();
    if (inA && inB) {
      CompareSounds(ia->second, ib->second, SlotPrefix(slot), lines);
    } else if (inA != inB) {
      lines.push_back(SlotPrefix(slot) +
                      (inA ? "only in the first file" : "only in the second file"));
    }
  }
  std::map<int, int> numbers;  // IR number -> 1 in a, 2 in b, 3 in both
  for (const auto& [n, _] : a.irs) numbers[n] |= 1;
  for (const auto& [n, _] : b.irs) numbers[n] |= 2;
  for (const auto& [n, where] : numbers) {
    const std::string head = "IR " + std::to_string(n) + ": ";
    if (where == 1) {
      lines.push_back(head + "only in the first file");
    } else if (where == 2) {
      lines.push_back(head + "only in the second file");
    } else if (a.irs.at(n) != b.irs.at(n)) {
      const auto& ia = a.irs.at(n);
      const auto& ib = b.irs.at(n);
      const auto nameOf = [](const std::vector<uint8_t>& image) {
        return image.size() >= kIrFileNameOffset + kNameSize
                   ? ShownName(TrimName32(std::span<const uint8_t>(image)
                                              .subspan(kIrFileNameOffset)
                                              .first<kNameSize>()))
                   : std::string();
      };
      lines.push_back(head + "differs (" + Quoted(nameOf(ia)) + kArrow + Quoted(nameOf(ib)) + ")");
    }
  }
}

enum class Kind { kPreset, kBank, kOther };

Kind KindOf(std::span<const uint8_t> bytes) {
  if (bytes.size() >= kPresetFileMagicSize &&
      std::equal(kPresetFileMagic.begin(), kPresetFileMagic.end(), bytes.begin())) {
    return Kind::kPreset;
  }
  if (!bytes.empty() && bytes[0] == kSysExStart) return Kind::kBank;
  return Kind::kOther;
}

DiffResult Failed(std::string why) {
  DiffResult r;
  r.error = std::move(why);
  return r;
}

}  // namespace

DiffResult DiffFiles(std::span<const uint8_t> a, std::span<const uint8_t> b) {
  const Kind ka = KindOf(a);
  const Kind kb = KindOf(b);
  if (ka == Kind::kOther || kb == Kind::kOther) {
    return Failed(std::string(ka == Kind::kOther ? "the first" : "the second") +
                  " file is neither a preset file nor a bank file");
  }
  if (ka != kb) return Failed("a preset file and a bank file cannot be compared");
  DiffResult result;
  std::string error;
  if (ka == Kind::kPreset) {
    const auto fa = ReadPreset(a, error);
    if (!fa) return Failed("the first file: " + error);
    const auto fb = ReadPreset(b, error);
    if (!fb) return Failed("the second file: " + error);
    CompareSounds(SoundOfFile(*fa), SoundOfFile(*fb), "", result.lines);
    if (fa->blocks != fb->blocks) {
      result.lines.push_back(
          "IR blocks: " + std::to_string(fa->blocks.size()) + kArrow +
          std::to_string(fb->blocks.size()) +
          (fa->blocks.size() == fb->blocks.size() ? ", their samples differ" : ""));
    }
  } else {
    const auto ba = ReadBank(a, error);
    if (!ba) return Failed("the first file: " + error);
    const auto bb = ReadBank(b, error);
    if (!bb) return Failed("the second file: " + error);
    CompareBanks(*ba, *bb, result.lines);
  }
  result.ok = true;
  return result;
}

}  // namespace qd3::cli
