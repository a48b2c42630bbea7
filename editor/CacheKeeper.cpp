#include "editor/CacheKeeper.h"

#include <string>
#include <utility>

#include "presets/StaleTemporaries.h"

namespace qd3 {
namespace {

// A cache that cannot be written loses nothing it held, but every connection then reads the
// presets and IRs again; without a word the player would only see slow connections.
constexpr const char* kTextCacheUnwritable =
    "The editor's cache folder %s cannot be written (is the disk full or the folder "
    "read-only?). What is read from the pedal is not kept, so it will be read again at "
    "every connection.";

}  // namespace

void CacheKeeper::Open(const std::filesystem::path& baseFolder) {
  // Writes cut short by a crash leave temporaries behind; they are ours to remove.
  RemoveStaleTemporaries(baseFolder);
  mCache = std::make_unique<PresetCache>(baseFolder);
}

void CacheKeeper::NoteWrite(bool written) {
  if (written || std::exchange(mFailureTold, true) || !mCache) return;
  std::string text(kTextCacheUnwritable);
  text.replace(text.find("%s"), 2, mCache->BaseFolder().string());
  mOutbox.Post(std::move(text));
}

}  // namespace qd3
