#include "host/app/WindowFit.h"

#include <algorithm>
#include <cmath>

namespace qd3 {

double ScaleThatFits(const WindowFitInput& in) {
  if (in.workWidth <= 0 || in.workHeight <= 0 || in.canvasWidth <= 0 || in.canvasHeight <= 0) {
    return in.wanted;
  }
  const double across = static_cast<double>(in.workWidth - in.chrome) / in.canvasWidth;
  const double down = static_cast<double>(in.workHeight - in.chrome) / in.canvasHeight;
  const double fits = std::min(across, down);
  if (in.wanted <= fits) return in.wanted;
  constexpr double kHundredths = 100.0;
  return std::max(in.minimum, std::floor(fits * kHundredths) / kHundredths);
}

}  // namespace qd3
