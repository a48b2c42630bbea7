// qd3ctl wav2ir: a WAV file to the 2436-byte IR image the editor would cache for it,
// through the editor's own reader and image maker.
#include <sys/stat.h>

#include <ostream>
#include <string>

#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "ir/ConversionSummary.h"
#include "ir/IrImage.h"
#include "ir/WavReader.h"
#include "presets/CacheFileIo.h"
#include "protocol/Name32.h"

namespace qd3::cli {
namespace {

// Whether `out` names the very file `in` names (the same inode on the same device, so a
// second path, a hard link or a symbolic link all count). An `out` that does not exist
// yet is a new file.
bool SameFile(const std::string& in, const std::string& out) {
  struct stat a {};
  struct stat b {};
  if (::stat(in.c_str(), &a) != 0 || ::stat(out.c_str(), &b) != 0) return false;
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

int RunWav2Ir(const CliArgs& args, std::ostream& out, std::ostream& err) {
  // The image would replace the WAV it was made from.
  if (SameFile(args.file, args.out)) {
    err << "qd3ctl: " << args.out << ": is the WAV file itself; nothing was written\n";
    return kExitBadFile;
  }
  IrWorkingBuffer buffer;
  const WavReadResult read = ReadWav(std::filesystem::path(args.file), buffer);
  if (!read.Ok()) {
    err << "qd3ctl: " << args.file << ": " << read.reason << '\n';
    return kExitBadFile;
  }
  std::array<uint8_t, kNameSize> name = IrNameFromWavPath(args.file);
  if (args.name) WriteName32(*args.name, name);
  const IrImageResult made = MakeIrImage(buffer, name);

  const CacheWriteStatus written = WriteFileReplacing(args.out, made.image);
  if (!Succeeded(written)) {
    err << "qd3ctl: " << args.out << ": " << WriteFailureText(written) << '\n';
    return kExitBadFile;
  }
  out << ConversionSummaryText(read.summary, made.gain) << '\n';
  out << "name: " << TrimName32(name) << '\n';
  out << "wrote " << made.image.size() << " bytes to " << args.out << '\n';
  return kExitOk;
}

}  // namespace qd3::cli
