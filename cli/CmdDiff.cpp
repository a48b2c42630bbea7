// qd3ctl diff: what differs between two preset files or two bank files, or a preset file
// and a slot of the pedal read as one. As diff(1) does, it exits 0 when they are equal, 1
// when they differ and 2 when one cannot be read (the pedal's silence included).
#include <ostream>

#include "cli/Commands.h"
#include "cli/Diff.h"
#include "cli/ExitCodes.h"
#include "cli/SessionSteps.h"
#include "cli/SlotSteps.h"
#include "presets/BankFile.h"
#include "presets/CacheFileIo.h"

namespace qd3::cli {
namespace {

// Both slot operands from one session with the pedal.
bool ReadSlots(const CliArgs& args, const SessionContext& context, std::vector<uint8_t> (&files)[2],
               std::ostream& err) {
  SessionDriver driver(*context.transport, *context.ticks);
  if (OpenAndConnect(driver, args, err) != kExitOk) return false;
  for (int i = 0; i < 2; ++i) {
    if (!args.diffSlots[i]) continue;
    const auto slot = SlotIndexOnPedal(driver, *args.diffSlots[i], err);
    if (!slot) return false;
    SlotAsFile file;
    if (ReadSlotAsPresetFile(driver, *slot, file, err) != kExitOk) return false;
    files[i] = std::move(file.bytes);
  }
  return true;
}

}  // namespace

int RunDiff(const CliArgs& args, const SessionContext& context, std::ostream& out,
            std::ostream& err) {
  std::vector<uint8_t> files[2];
  const std::string* names[2] = {&args.file, &args.out};
  // The files first: one that cannot be read ends it before the pedal is asked.
  for (int i = 0; i < 2; ++i) {
    if (args.diffSlots[i]) continue;
    const std::filesystem::path path(*names[i]);
    // The largest kind is a bank of 1,048,576 bytes; one byte more is enough to tell.
    const auto bytes = FileOpens(path) ? ReadFilePrefix(path, kBulkBufferSize + 1) : std::nullopt;
    if (!bytes || bytes->size() > kBulkBufferSize) {
      err << "qd3ctl: " << *names[i] << ": cannot be read as a preset or bank file\n";
      return kExitDiffTrouble;
    }
    files[i] = *bytes;
  }
  if (DiffReadsThePedal(args) && !ReadSlots(args, context, files, err)) return kExitDiffTrouble;
  const DiffResult result = DiffFiles(files[0], files[1]);
  if (!result.ok) {
    err << "qd3ctl: " << result.error << '\n';
    return kExitDiffTrouble;
  }
  for (const std::string& line : result.lines) out << line << '\n';
  return result.lines.empty() ? kExitOk : kExitDiffers;
}

}  // namespace qd3::cli
