// qd3ctl inspect: what a preset, bank, record, IR or firmware file holds.
#include <ostream>

#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/Inspect.h"
#include "presets/BankFile.h"
#include "presets/CacheFileIo.h"

namespace qd3::cli {

int RunInspect(const CliArgs& args, std::ostream& out, std::ostream& err) {
  const std::filesystem::path path(args.file);
  if (!FileOpens(path)) {
    err << "qd3ctl: " << args.file << ": cannot be opened as a file\n";
    return kExitBadFile;
  }
  // The largest kind is a bank of 1,048,576 bytes; one byte more is enough to tell.
  const auto bytes = ReadFilePrefix(path, kBulkBufferSize + 1);
  if (!bytes) {
    err << "qd3ctl: " << args.file << ": cannot be read\n";
    return kExitBadFile;
  }
  if (bytes->size() > kBulkBufferSize) {
    err << "qd3ctl: " << args.file
        << ": larger than any file of the pedal (over 1,048,576 bytes)\n";
    return kExitBadFile;
  }
  const InspectOutput result = InspectFileBytes(*bytes, args.file, args.json);
  if (!result.ok) {
    err << "qd3ctl: " << args.file << ": " << result.error << '\n';
    return kExitBadFile;
  }
  out << result.text;
  return kExitOk;
}

}  // namespace qd3::cli
