#include <gtest/gtest.h>

#include "params/ParamCatalogue.h"

namespace qd3 {
namespace {

struct SetCase {
  int index;
  bool normalized;
  double input;
  double stored;
};

TEST(ParamValue, ClampsAndSnapsHalvesAwayFromZero) {
  const SetCase cases[] = {
      {1, false, 63.5, 64},     // half snaps up
      {1, false, 63.49, 63},    //
      {1, false, 200, 127},     // clamped high
      {1, false, -5, 0},        // clamped low
      {1, true, 0.5, 64},       // 63.5 on 0..127
      {69, true, 0.0, 64},      // "Compression" starts at 64
      {69, true, 1.0, 127},     //
      {19, true, 0.0, 2},       // "Reverb Extension Factor" 2..5
      {19, true, 1.0, 5},       //
      {71, true, 0.52, 9.88},   // the row picker is not snapped
      {72, false, 9, 9},        //
      {65, false, 0.37, 0.37},  // undeclared: any value in 0..1, no snapping
      {65, false, 3, 1},        //
      {84, false, 16.4, 16},    // enum
      {87, false, 30, 24},      //
  };
  for (const auto& c : cases) {
    ParamCatalogue params;
    if (c.normalized) {
      params[c.index].SetNormalized(c.input);
    } else {
      params[c.index].Set(c.input);
    }
    EXPECT_NEAR(params[c.index].Value(), c.stored, 1e-9) << c.index << " <- " << c.input;
  }
}

TEST(ParamValue, RawIsTheIntegerPartAndNormalizedIsLinear) {
  ParamCatalogue params;
  params[71].SetNormalized(0.52);
  EXPECT_EQ(params[71].Raw(), 9);
  params[72].Set(9);
  EXPECT_EQ(params[72].Raw(), 9);

  params[69].Set(100);
  EXPECT_NEAR(params[69].GetNormalized(), (100 - 64) / 63.0, 1e-12);
  params[19].Set(3);
  EXPECT_NEAR(params[19].GetNormalized(), 1 / 3.0, 1e-12);
}

TEST(ParamValue, EachRepeatedNameKeepsItsOwnValue) {
  ParamCatalogue params;
  params[25].Set(10);
  params[60].Set(1);
  params[73].Set(27);
  EXPECT_EQ(params[37].Value(), 0);
  EXPECT_EQ(params[61].Value(), 64);
  EXPECT_EQ(params[14].Value(), 0);
}

}  // namespace
}  // namespace qd3
