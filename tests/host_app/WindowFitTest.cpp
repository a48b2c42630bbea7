// The window's scale against the work area of the screen it opens on.
#include <gtest/gtest.h>

#include "host/app/WindowFit.h"

namespace qd3::test {
namespace {

TEST(WindowFit, AScaleTooLargeForTheWorkAreaIsTheLargestThatFits) {
  struct Case {
    const char* what;
    double wanted;
    int workWidth;
    int workHeight;
    double want;
  };
  const Case cases[] = {
      {"fits", 0.5, 1920, 1040, 0.5},
      {"1.0 on a 1080p desktop with a panel", 1.0, 1920, 1040, 0.8},
      {"2.0 on a 4K desktop", 2.0, 3840, 2120, 1.7},
      {"too narrow before too low", 1.0, 1280, 1400, 0.62},
      {"a tiny screen keeps the smallest scale", 1.0, 400, 300, 1.0 / 3.0},
      {"no work area known", 1.5, 0, 0, 1.5},
  };
  for (const Case& c : cases) {
    const double got =
        ScaleThatFits({c.wanted, 1920, 1200, c.workWidth, c.workHeight, 80, 1.0 / 3.0});
    EXPECT_NEAR(got, c.want, 1e-9) << c.what;
    if (c.workWidth > 0 && got > 1.0 / 3.0) {
      EXPECT_LE(1200 * got + 80, c.workHeight) << c.what;
      EXPECT_LE(1920 * got + 80, c.workWidth) << c.what;
    }
  }
}

}  // namespace
}  // namespace qd3::test
