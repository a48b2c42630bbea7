// Bank files: every preset dump with its slot, name and checksum verdict, and every IR
// transfer with its number, name and checksum verdict. The walk is the one the import
// uses; a bank the import would refuse is reported broken with the validator's reason.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/InspectKinds.h"
#include "cli/Json.h"
#include "presets/BankFile.h"
#include "presets/IrFileLayout.h"
#include "presets/PresetRecord.h"
#include "protocol/Checksum14.h"
#include "protocol/IrReceiveState.h"
#include "protocol/Name32.h"

namespace qd3::cli {
namespace {

struct BankPreset {
  int slot = 0;
  std::string name;
  bool checksumOk = false;
};

struct BankIr {
  int number = 0;
  std::string name;
  bool checksumOk = false;
};

std::string NameAt(std::span<const uint8_t> bytes, std::size_t offset) {
  if (bytes.size() < offset + kNameSize) return {};
  return ShownName(TrimName32(bytes.subspan(offset).first<kNameSize>()));
}

}  // namespace

void WalkBank(std::span<const uint8_t> bytes,
              const std::function<void(std::span<const uint8_t> dump)>& onDump,
              const std::function<void(const IrReceiveResult& ir)>& onIr) {
  IrReceiveState ir;
  for (const BankMessageSpan& s : BankMessages(bytes)) {
    const auto m = bytes.subspan(s.offset, s.size);
    switch (m[kCommandOffset]) {
      case kCmdPresetDump:
        onDump(m);
        break;
      case kCmdIrBegin:
        ir.Begin(m);
        break;
      case kCmdIrData:
        ir.Data(m);
        break;
      case kCmdIrEnd:
        if (ir.End(m) == IrReceiveStatus::kComplete) onIr(ir.Result());
        break;
      default:
        break;
    }
  }
}

InspectOutput InspectBank(std::span<const uint8_t> bytes, bool json) {
  const BankFileCheck check = ValidateBankFile(bytes);
  if (!check.Valid()) {
    return Broken("bank file broken at byte " + std::to_string(check.offset) + ": " + check.reason);
  }
  std::vector<BankPreset> presets;
  std::vector<BankIr> irs;
  WalkBank(
      bytes,
      [&](std::span<const uint8_t> m) {
        presets.push_back({m[kSelectorOffset], NameAt(m, kRecordOffset + kPresetNameOffset),
                           VerifyRecordChecksum(m)});
      },
      [&](const IrReceiveResult& r) {
        irs.push_back({r.irNumber, NameAt(r.bytes, kIrFileNameOffset), r.ChecksumMatches()});
      });

  if (json) {
    JsonWriter w;
    w.BeginObject().Key("kind").String("bank").Key("presets").BeginArray();
    for (const BankPreset& p : presets) {
      w.BeginObject().Key("slot").Int(p.slot).Key("name").String(p.name);
      w.Key("checksum_ok").Bool(p.checksumOk).EndObject();
    }
    w.EndArray().Key("irs").BeginArray();
    for (const BankIr& i : irs) {
      w.BeginObject().Key("number").Int(i.number).Key("name").String(i.name);
      w.Key("checksum_ok").Bool(i.checksumOk).EndObject();
    }
    w.EndArray().EndObject();
    return Shown(w.Text());
  }
  std::string out = "bank file, " + std::to_string(presets.size()) + " presets, " +
                    std::to_string(irs.size()) + " user IRs\n";
  char number[32];
  for (const BankPreset& p : presets) {
    std::snprintf(number, sizeof number, "  preset slot %3d  ", p.slot);
    out += number + PaddedTo(EscapedForTerminal(p.name), kNameSize) +
           (p.checksumOk ? "" : "  CHECKSUM WRONG") + "\n";
  }
  for (const BankIr& i : irs) {
    std::snprintf(number, sizeof number, "  user IR %5d  ", i.number);
    out += number + PaddedTo(EscapedForTerminal(i.name), kNameSize) +
           (i.checksumOk ? "" : "  CHECKSUM WRONG") + "\n";
  }
  return Shown(out);
}

}  // namespace qd3::cli
