#pragma once

// The disk cache below the base folder, and the one word the player gets when it
// cannot be written. Until it is opened nothing is cached.

#include <filesystem>
#include <memory>

#include "editor/Outbox.h"
#include "presets/PresetCache.h"

namespace qd3 {

class CacheKeeper {
 public:
  explicit CacheKeeper(Outbox& outbox) : mOutbox(outbox) {}

  void Open(const std::filesystem::path& baseFolder);
  // nullptr until opened.
  PresetCache* Get() const { return mCache.get(); }
  // After every cache write: the first failure is told to the player, the rest are not.
  void NoteWrite(bool written);

 private:
  Outbox& mOutbox;
  std::unique_ptr<PresetCache> mCache;
  bool mFailureTold = false;
};

}  // namespace qd3
