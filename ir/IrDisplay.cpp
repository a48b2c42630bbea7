#include "ir/IrDisplay.h"

#include <array>

#include "ir/IrImage.h"
#include "ir/IrNumbers.h"
#include "ir/WavReader.h"

namespace qd3 {
namespace {

void UnitImpulse(IrWorkingBuffer& buffer) {
  buffer.samples.fill(0.0);
  buffer.samples[0] = 1.0;
}

}  // namespace

void CachedIrPositionSource::LoadPosition(int position, const IrDisplaySelection& selection,
                                          IrWorkingBuffer& buffer) const {
  if (position < 1 || position >= kCabinetPositionCount) return;
  const bool userA = position == kCabinetPositionUserA && selection.positionAUser;
  const bool userB = position == kCabinetPositionUserB && selection.positionBUser;
  if (userA || userB) {
    if (const auto image = mCache.ReadIrImage(userA ? selection.userIrA : selection.userIrB)) {
      LoadIrImage(*image, buffer);
    }
    return;
  }
  if (const auto image = mCache.ReadIrImage(CabinetIrOfPosition(position))) {
    LoadIrImage(*image, buffer);
    return;
  }
  // A missing or unreadable WAV leaves the buffer as it is, like a missing user IR.
  ReadWav(mCache.FactoryIrWavPath(static_cast<std::size_t>(position - 1)), buffer);
}

void ShowIr(const IrDisplaySelection& selection, const IIrPositionSource& source,
            IrWorkingBuffer& buffer) {
  const CabinetBlend blend = CabinetBlendOf(selection.irValue);
  UnitImpulse(buffer);
  if (blend.e <= 0.0F) return;

  source.LoadPosition(blend.lo, selection, buffer);
  if (blend.hi == blend.lo) return;
  const std::array<double, kIrWorkingSamples> lower = buffer.samples;
  source.LoadPosition(blend.hi, selection, buffer);
  // Weights in single precision, as the selector computes them.
  const float lowerWeight = static_cast<float>(blend.hi) - blend.e;
  const float upperWeight = blend.e - static_cast<float>(blend.lo);
  for (std::size_t i = 0; i < kIrWorkingSamples; ++i) {
    buffer.samples[i] = lowerWeight * lower[i] + upperWeight * buffer.samples[i];
  }
}

}  // namespace qd3
