// qd3ctl get: one preset of the pedal, with the user IRs it uses, into a preset file.
#include <ostream>

#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/SessionSteps.h"
#include "cli/SlotSteps.h"
#include "presets/SlotLabels.h"

namespace qd3::cli {

int RunGet(const CliArgs& args, const SessionContext& context, std::ostream& out,
           std::ostream& err) {
  SessionDriver driver(*context.transport, *context.ticks);
  if (const int code = OpenAndConnect(driver, args, err); code != kExitOk) return code;
  const auto slot = SlotIndexOnPedal(driver, args.slot, err);
  if (!slot) return kExitUsage;
  SlotAsFile file;
  if (const int code = ReadSlotAsPresetFile(driver, *slot, file, err); code != kExitOk) {
    return code;
  }
  if (const int code = WritePresetFileTo(args.file, file.bytes, err); code != kExitOk) return code;
  out << "Preset " << SlotNumberText(*slot, driver.PatchOffset()) << " \""
      << ShownPresetName(file.record) << "\" written to " << args.file << " (" << file.bytes.size()
      << " bytes, " << file.irBlocks << (file.irBlocks == 1 ? " IR block" : " IR blocks") << ").\n";
  return kExitOk;
}

}  // namespace qd3::cli
