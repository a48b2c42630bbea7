#include "editor/SoundValues.h"

namespace qd3 {

SoundValues CaptureSound(const ParamCatalogue& params) {
  SoundValues values{};
  for (int i = 0; i < kNumSoundParams; ++i) values[static_cast<size_t>(i)] = params[i].Raw();
  return values;
}

void WriteSound(const ParamCatalogue& params, ParamWriter& writer, const SoundValues& target) {
  // A linked parameter ("Compression" sets "Dynamics") may move one already set, so a
  // second pass sets what the first one's links moved.
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < kNumSoundParams; ++i) {
      const int raw = target[static_cast<size_t>(i)];
      if (params[i].Raw() == raw) continue;
      writer.SetParameterValue(i, params[i].ToNormalized(raw));
    }
  }
}

}  // namespace qd3
