#pragma once

// The IR display's data (ShowIr): the working buffer filled with the cabinet that
// parameter 14 selects, or the linear crossfade of the two neighbouring cabinets when the
// selector stands between them. Position 0 is the flat response, a unit impulse.

#include "ir/IrWorkingBuffer.h"
#include "presets/PresetCache.h"

namespace qd3 {

struct IrDisplaySelection {
  int irValue = 0;             // parameter 14, 0..127
  bool positionAUser = false;  // parameter 40 "IR Mode": position 7 uses `userIrA`
  bool positionBUser = false;  // parameter 41 "IR Mode": position 8 uses `userIrB`
  int userIrA = 0;
  int userIrB = 0;
};

// Where ShowIr takes a cabinet position's IR from.
class IIrPositionSource {
 public:
  virtual ~IIrPositionSource() = default;
  // Fills the buffer with position 1..8 as stored, or leaves it as it is when there is
  // nothing to load.
  virtual void LoadPosition(int position, const IrDisplaySelection& selection,
                            IrWorkingBuffer& buffer) const = 0;
};

// The cache: positions 1..8 from their factory IR cache files (gain and 1200 samples),
// falling back to the factory WAV file of the position; positions 7 and 8 with "IR Mode"
// on from the user IR's cache file, or unchanged when it is not cached.
class CachedIrPositionSource final : public IIrPositionSource {
 public:
  explicit CachedIrPositionSource(const PresetCache& cache) : mCache(cache) {}
  void LoadPosition(int position, const IrDisplaySelection& selection,
                    IrWorkingBuffer& buffer) const override;

 private:
  const PresetCache& mCache;
};

// Refills `buffer` for the selection: a unit impulse, the lower position loaded over it
// and, between positions, sample i = (hi - e) * lower[i] + (e - lo) * upper[i] with the
// blend of CabinetBlendOf.
void ShowIr(const IrDisplaySelection& selection, const IIrPositionSource& source,
            IrWorkingBuffer& buffer);

}  // namespace qd3
