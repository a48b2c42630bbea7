// qd3ctl diff: what differs between two preset files or two bank files. As diff(1) does,
// it exits 0 when they are equal, 1 when they differ and 2 when one cannot be read.
#include <ostream>

#include "cli/Commands.h"
#include "cli/Diff.h"
#include "cli/ExitCodes.h"
#include "presets/BankFile.h"
#include "presets/CacheFileIo.h"

namespace qd3::cli {

int RunDiff(const CliArgs& args, std::ostream& out, std::ostream& err) {
  std::vector<uint8_t> files[2];
  const std::string* names[2] = {&args.file, &args.out};
  for (int i = 0; i < 2; ++i) {
    const std::filesystem::path path(*names[i]);
    // The largest kind is a bank of 1,048,576 bytes; one byte more is enough to tell.
    const auto bytes = FileOpens(path) ? ReadFilePrefix(path, kBulkBufferSize + 1) : std::nullopt;
    if (!bytes || bytes->size() > kBulkBufferSize) {
      err << "qd3ctl: " << *names[i] << ": cannot be read as a preset or bank file\n";
      return kExitDiffTrouble;
    }
    files[i] = *bytes;
  }
  const DiffResult result = DiffFiles(files[0], files[1]);
  if (!result.ok) {
    err << "qd3ctl: " << result.error << '\n';
    return kExitDiffTrouble;
  }
  for (const std::string& line : result.lines) out << line << '\n';
  return result.lines.empty() ? kExitOk : kExitDiffers;
}

}  // namespace qd3::cli
