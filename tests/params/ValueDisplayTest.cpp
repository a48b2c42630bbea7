#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "params/ValueDisplay.h"

namespace qd3 {
namespace {

std::string Text(int index, int raw) {
  const auto text = ParamValueText(index, raw);
  return text ? text->value : "<none>";
}

std::string Title(int index, int raw) {
  const auto text = ParamValueText(index, raw);
  return text ? text->title : "<none>";
}

TEST(ValueDisplay, EdgeCasesOfTheReadouts) {
  struct Case {
    int index;
    int raw;
    const char* value;
    const char* title;
  };
  const Case cases[] = {
      {0, 64, "50", ""},
      {1, 0, "1", ""},
      {1, 127, "100", ""},
      {6, 64, "0.0", ""},
      {6, 65, "0.3", ""},
      {6, 127, "12.0", ""},
      {6, 0, "-12.0", ""},
      {9, 0, "Bypass", ""},
      {9, 1, "-99.45", ""},
      {9, 127, "-30.00", ""},
      {10, 64, "Bypass", "DYNAMICS"},
      {10, 65, "-0.00", "COMPRESSOR"},
      {10, 127, "-60.00", "COMPRESSOR"},
      {10, 63, "0.00", "EXPANDER"},
      {10, 1, "-59.05", "EXPANDER"},
      {10, 0, "-inf.", "EXPANDER"},
      {13, 64, "1000", ""},
      {13, 63, "993", ""},
      {13, 0, "100", ""},
      {13, 127, "1900", ""},
      {14, 64, "40", ""},
      {14, 127, "80", ""},
      {14, 0, "00", ""},
      {15, 0, "100", "DIGITAL SMOOTH"},
      {15, 64, "Bypass", "SMOOTHING"},
      {15, 65, "2", "ANALOG SMOOTH"},
      {15, 56, "12", "DIGITAL SMOOTH"},  // 12.5: the C library rounds halves to even
      {16, 0, "100", ""},
      {16, 64, "250", ""},
      {16, 127, "600", ""},
      {25, 0, "1.0:1", ""},
      {25, 127, "20.0:1", ""},
      {29, 0, "1:1.0", ""},
      {29, 127, "1:12.0", ""},
      {37, 127, "10.0:1", ""},
      {39, 0, "10.0", ""},
      {39, 127, "1000.0", ""},
      {42, 64, "0.00", ""},
      {43, 0, "-12.00", ""},
      {43, 127, "12.00", ""},
      {47, 0, "0.5", ""},
      {48, 64, "1.0", ""},
      {49, 127, "2.0", ""},
      {61, 127, "100", ""},
      {69, 64, "0", ""},
      {69, 127, "100", ""},
      {69, 100, "57", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Text(c.index, c.raw), c.value) << c.index << " at " << c.raw;
    EXPECT_EQ(Title(c.index, c.raw), c.title) << c.index << " at " << c.raw;
  }
}

TEST(ValueDisplay, RawValuesOutsideTheRangeAreHeldToIt) {
  EXPECT_EQ(Text(0, 200), "100");
  EXPECT_EQ(Text(0, -4), "0");
  EXPECT_EQ(Text(69, 10), "0");  // "Compression" starts at 64
  EXPECT_EQ(Text(9, -1), "Bypass");
  EXPECT_FALSE(ParamValueText(-1, 0));
  EXPECT_FALSE(ParamValueText(139, 0));
}

TEST(ValueDisplay, ParametersWithoutANumberText) {
  std::vector<int> none = {2,  3,  5,  11, 26, 27, 28, 38, 40, 41, 50, 51,
                           52, 53, 54, 55, 56, 57, 58, 59, 60, 62, 63, 64};
  for (int i = 18; i <= 24; ++i) none.push_back(i);
  for (int i = 30; i <= 35; ++i) none.push_back(i);
  for (int i = 44; i <= 46; ++i) none.push_back(i);
  for (int i = 65; i <= 138; ++i) {
    if (i != 69) none.push_back(i);
  }
  for (int index : none) {
    for (int raw : {0, 1, 64, 127}) EXPECT_FALSE(ParamValueText(index, raw)) << index;
  }
}

// All 128 texts of some formats, computed separately with 32-bit float
// arithmetic and correctly rounded decimal printing.
// clang-format off
const char* const kGateTexts = "Bypass -99.45 -98.90 -98.35 -97.80 -97.24 -96.69 -96.14 -95.59 -95.04 -94.49 -93.94 -93.39 -92.83 -92.28 -91.73 -91.18 -90.63 -90.08 -89.53 -88.98 -88.43 -87.87 -87.32 -86.77 -86.22 -85.67 -85.12 -84.57 -84.02 -83.46 -82.91 -82.36 -81.81 -81.26 -80.71 -80.16 -79.61 -79.06 -78.50 -77.95 -77.40 -76.85 -76.30 -75.75 -75.20 -74.65 -74.09 -73.54 -72.99 -72.44 -71.89 -71.34 -70.79 -70.24 -69.69 -69.13 -68.58 -68.03 -67.48 -66.93 -66.38 -65.83 -65.28 -64.72 -64.17 -63.62 -63.07 -62.52 -61.97 -61.42 -60.87 -60.31 -59.76 -59.21 -58.66 -58.11 -57.56 -57.01 -56.46 -55.91 -55.35 -54.80 -54.25 -53.70 -53.15 -52.60 -52.05 -51.50 -50.94 -50.39 -49.84 -49.29 -48.74 -48.19 -47.64 -47.09 -46.54 -45.98 -45.43 -44.88 -44.33 -43.78 -43.23 -42.68 -42.13 -41.57 -41.02 -40.47 -39.92 -39.37 -38.82 -38.27 -37.72 -37.17 -36.61 -36.06 -35.51 -34.96 -34.41 -33.86 -33.31 -32.76 -32.20 -31.65 -31.10 -30.55 -30.00";
const char* const kLowTexts = "-12.0 -11.8 -11.6 -11.4 -11.2 -11.1 -10.9 -10.7 -10.5 -10.3 -10.1 -9.9 -9.7 -9.5 -9.4 -9.2 -9.0 -8.8 -8.6 -8.4 -8.2 -8.0 -7.8 -7.7 -7.5 -7.3 -7.1 -6.9 -6.7 -6.5 -6.3 -6.1 -6.0 -5.8 -5.6 -5.4 -5.2 -5.0 -4.8 -4.6 -4.4 -4.3 -4.1 -3.9 -3.7 -3.5 -3.3 -3.1 -2.9 -2.7 -2.6 -2.4 -2.2 -2.0 -1.8 -1.6 -1.4 -1.2 -1.0 -0.9 -0.7 -0.5 -0.3 -0.1 0.0 0.3 0.5 0.7 0.9 1.0 1.2 1.4 1.6 1.8 2.0 2.2 2.4 2.6 2.7 2.9 3.1 3.3 3.5 3.7 3.9 4.1 4.3 4.4 4.6 4.8 5.0 5.2 5.4 5.6 5.8 6.0 6.1 6.3 6.5 6.7 6.9 7.1 7.3 7.5 7.7 7.8 8.0 8.2 8.4 8.6 8.8 9.0 9.2 9.4 9.5 9.7 9.9 10.1 10.3 10.5 10.7 10.9 11.1 11.2 11.4 11.6 11.8 12.0";
const char* const kDynamicsTexts = "-inf. -59.05 -58.10 -57.14 -56.19 -55.24 -54.29 -53.33 -52.38 -51.43 -50.48 -49.52 -48.57 -47.62 -46.67 -45.71 -44.76 -43.81 -42.86 -41.90 -40.95 -40.00 -39.05 -38.10 -37.14 -36.19 -35.24 -34.29 -33.33 -32.38 -31.43 -30.48 -29.52 -28.57 -27.62 -26.67 -25.71 -24.76 -23.81 -22.86 -21.90 -20.95 -20.00 -19.05 -18.10 -17.14 -16.19 -15.24 -14.29 -13.33 -12.38 -11.43 -10.48 -9.52 -8.57 -7.62 -6.67 -5.71 -4.76 -3.81 -2.86 -1.90 -0.95 0.00 Bypass -0.00 -0.97 -1.94 -2.90 -3.87 -4.84 -5.81 -6.77 -7.74 -8.71 -9.68 -10.65 -11.61 -12.58 -13.55 -14.52 -15.48 -16.45 -17.42 -18.39 -19.35 -20.32 -21.29 -22.26 -23.23 -24.19 -25.16 -26.13 -27.10 -28.06 -29.03 -30.00 -30.97 -31.94 -32.90 -33.87 -34.84 -35.81 -36.77 -37.74 -38.71 -39.68 -40.65 -41.61 -42.58 -43.55 -44.52 -45.48 -46.45 -47.42 -48.39 -49.35 -50.32 -51.29 -52.26 -53.23 -54.19 -55.16 -56.13 -57.10 -58.06 -59.03 -60.00";
const char* const kAnalogSimTexts = "100 98 97 95 94 92 91 89 88 86 84 83 81 80 78 77 75 73 72 70 69 67 66 64 62 61 59 58 56 55 53 52 50 48 47 45 44 42 41 39 38 36 34 33 31 30 28 27 25 23 22 20 19 17 16 14 12 11 9 8 6 5 3 2 Bypass 2 3 5 6 8 10 11 13 14 16 17 19 21 22 24 25 27 29 30 32 33 35 37 38 40 41 43 44 46 48 49 51 52 54 56 57 59 60 62 63 65 67 68 70 71 73 75 76 78 79 81 83 84 86 87 89 90 92 94 95 97 98 100";
const char* const kGateReleaseTexts = "10.0 10.1 10.2 10.6 11.0 11.5 12.2 13.0 13.9 15.0 16.1 17.4 18.8 20.4 22.0 23.8 25.7 27.7 29.9 32.2 34.6 37.1 39.7 42.5 45.4 48.4 51.5 54.7 58.1 61.6 65.2 69.0 72.9 76.8 81.0 85.2 89.5 94.0 98.6 103.4 108.2 113.2 118.3 123.5 128.8 134.3 139.9 145.6 151.4 157.4 163.5 169.6 176.0 182.4 189.0 195.7 202.5 209.4 216.5 223.7 231.0 238.4 245.9 253.6 261.4 269.3 277.4 285.5 293.8 302.2 310.8 319.4 328.2 337.1 346.1 355.3 364.5 373.9 383.4 393.1 402.8 412.7 422.7 432.8 443.1 453.5 464.0 474.6 485.3 496.2 507.2 518.3 529.5 540.9 552.4 564.0 575.7 587.5 599.5 611.6 623.8 636.1 648.6 661.2 673.9 686.7 699.7 712.7 725.9 739.3 752.7 766.3 780.0 793.8 807.7 821.8 835.9 850.2 864.7 879.2 893.9 908.7 923.6 938.6 953.8 969.1 984.5 1000.0";
const char* const kCompRatioTexts = "1.0:1 1.1:1 1.3:1 1.4:1 1.6:1 1.7:1 1.9:1 2.0:1 2.2:1 2.3:1 2.5:1 2.6:1 2.8:1 2.9:1 3.1:1 3.2:1 3.4:1 3.5:1 3.7:1 3.8:1 4.0:1 4.1:1 4.3:1 4.4:1 4.6:1 4.7:1 4.9:1 5.0:1 5.2:1 5.3:1 5.5:1 5.6:1 5.8:1 5.9:1 6.1:1 6.2:1 6.4:1 6.5:1 6.7:1 6.8:1 7.0:1 7.1:1 7.3:1 7.4:1 7.6:1 7.7:1 7.9:1 8.0:1 8.2:1 8.3:1 8.5:1 8.6:1 8.8:1 8.9:1 9.1:1 9.2:1 9.4:1 9.5:1 9.7:1 9.8:1 10.0:1 10.1:1 10.3:1 10.4:1 10.6:1 10.7:1 10.9:1 11.0:1 11.2:1 11.3:1 11.5:1 11.6:1 11.8:1 11.9:1 12.1:1 12.2:1 12.4:1 12.5:1 12.7:1 12.8:1 13.0:1 13.1:1 13.3:1 13.4:1 13.6:1 13.7:1 13.9:1 14.0:1 14.2:1 14.3:1 14.5:1 14.6:1 14.8:1 14.9:1 15.1:1 15.2:1 15.4:1 15.5:1 15.7:1 15.8:1 16.0:1 16.1:1 16.3:1 16.4:1 16.6:1 16.7:1 16.9:1 17.0:1 17.2:1 17.3:1 17.5:1 17.6:1 17.8:1 17.9:1 18.1:1 18.2:1 18.4:1 18.5:1 18.7:1 18.8:1 19.0:1 19.1:1 19.3:1 19.4:1 19.6:1 19.7:1 19.9:1 20.0:1";
const char* const kUserIrGainTexts = "-12.00 -11.81 -11.62 -11.43 -11.24 -11.06 -10.87 -10.68 -10.49 -10.30 -10.11 -9.92 -9.73 -9.54 -9.35 -9.17 -8.98 -8.79 -8.60 -8.41 -8.22 -8.03 -7.84 -7.65 -7.46 -7.28 -7.09 -6.90 -6.71 -6.52 -6.33 -6.14 -5.95 -5.76 -5.57 -5.39 -5.20 -5.01 -4.82 -4.63 -4.44 -4.25 -4.06 -3.87 -3.69 -3.50 -3.31 -3.12 -2.93 -2.74 -2.55 -2.36 -2.17 -1.98 -1.80 -1.61 -1.42 -1.23 -1.04 -0.85 -0.66 -0.47 -0.28 -0.09 0.00 0.28 0.47 0.66 0.85 1.04 1.23 1.42 1.61 1.80 1.98 2.17 2.36 2.55 2.74 2.93 3.12 3.31 3.50 3.69 3.87 4.06 4.25 4.44 4.63 4.82 5.01 5.20 5.39 5.57 5.76 5.95 6.14 6.33 6.52 6.71 6.90 7.09 7.28 7.46 7.65 7.84 8.03 8.22 8.41 8.60 8.79 8.98 9.17 9.35 9.54 9.73 9.92 10.11 10.30 10.49 10.68 10.87 11.06 11.24 11.43 11.62 11.81 12.00";
const char* const kMidShiftTexts = "100 114 128 143 157 171 185 199 213 228 242 256 270 284 298 313 327 341 355 369 383 398 412 426 440 454 469 483 497 511 525 539 554 568 582 596 610 624 639 653 667 681 695 709 724 738 752 766 780 794 809 823 837 851 865 880 894 908 922 936 950 965 979 993 1000 1021 1035 1050 1064 1078 1092 1106 1120 1135 1149 1163 1177 1191 1206 1220 1234 1248 1262 1276 1291 1305 1319 1333 1347 1361 1376 1390 1404 1418 1432 1446 1461 1475 1489 1503 1517 1531 1546 1560 1574 1588 1602 1617 1631 1645 1659 1673 1687 1702 1716 1730 1744 1758 1772 1787 1801 1815 1829 1843 1857 1872 1886 1900";
// clang-format on

std::vector<std::string> Split(const char* texts) {
  std::vector<std::string> out;
  std::istringstream in(texts);
  std::string word;
  while (in >> word) out.push_back(word);
  return out;
}

TEST(ValueDisplay, AllValuesOfTheReferenceTables) {
  struct Table {
    std::vector<int> indices;
    const char* texts;
  };
  const Table tables[] = {
      {{9}, kGateTexts},
      {{6, 7, 12}, kLowTexts},
      {{10}, kDynamicsTexts},
      {{15}, kAnalogSimTexts},
      {{39}, kGateReleaseTexts},
      {{25}, kCompRatioTexts},
      {{42, 43}, kUserIrGainTexts},
      {{13}, kMidShiftTexts},
  };
  for (const auto& table : tables) {
    const auto expected = Split(table.texts);
    ASSERT_EQ(expected.size(), 128u);
    for (int index : table.indices) {
      for (int raw = 0; raw < 128; ++raw) {
        EXPECT_EQ(Text(index, raw), expected[static_cast<size_t>(raw)]) << index << " at " << raw;
      }
    }
  }
}

std::string Format(const char* format, double x) {
  char text[64];
  std::snprintf(text, sizeof text, format, x);
  return text;
}

TEST(ValueDisplay, AllValuesAgainstFormattedFormulas) {
  for (int v = 0; v < 128; ++v) {
    const float s = static_cast<float>(v) / 127.0f;
    const std::string percent = Format("%.0f", s * 100.0f);
    for (int index : {0, 4, 8, 17, 36, 61}) EXPECT_EQ(Text(index, v), percent) << index;
    EXPECT_EQ(Text(1, v), Format("%.0f", s * 100.0f < 1.0f ? 1.0f : s * 100.0f));
    EXPECT_EQ(Text(29, v), Format("1:%.1f", s * 11.0f + 1.0f));
    EXPECT_EQ(Text(37, v), Format("%.1f:1", s * 9.0f + 1.0f));
    EXPECT_EQ(Text(16, v), Format("%.0f", 100.0 + 500.0 * std::pow(double{s}, 1.7543859869269236)));
    const float q = std::exp2(v == 64 ? 0.0f : 2.0f * s - 1.0f);
    for (int index : {47, 48, 49}) EXPECT_EQ(Text(index, v), Format("%.1f", q)) << index;
    char ir[8];
    std::snprintf(ir, sizeof ir, "%02d", static_cast<int>(s * 80.5f));
    EXPECT_EQ(Text(14, v), ir);
    if (v >= 64) {
      EXPECT_EQ(Text(69, v), Format("%.0f", static_cast<float>(v - 64) / 63.0f * 100.0f));
    }
  }
}

TEST(ValueDisplay, DynamicsThresholdAndState) {
  EXPECT_EQ(DynamicsFromRaw(64).state, DynamicsState::kOff);
  EXPECT_EQ(DynamicsFromRaw(64).thresholdDb, 0.0f);
  EXPECT_EQ(DynamicsFromRaw(65).state, DynamicsState::kCompressor);
  EXPECT_EQ(DynamicsFromRaw(127).thresholdDb, -60.0f);
  EXPECT_EQ(DynamicsFromRaw(63).state, DynamicsState::kExpander);
  EXPECT_EQ(DynamicsFromRaw(0).thresholdDb, -60.0f);
  EXPECT_FLOAT_EQ(GateThresholdDb(127), -30.0f);
  EXPECT_FLOAT_EQ(GateThresholdDb(0), -100.0f);
}

TEST(ValueDisplay, TextsGoToTheirTags) {
  EXPECT_EQ(ValueTextTagsFor(10)->value, 8);
  EXPECT_EQ(ValueTextTagsFor(10)->title, 6);
  EXPECT_EQ(ValueTextTagsFor(15)->value, 21);
  EXPECT_EQ(ValueTextTagsFor(15)->title, 22);
  EXPECT_EQ(ValueTextTagsFor(48)->value, 37);
  EXPECT_EQ(ValueTextTagsFor(69)->value, 92);
  EXPECT_FALSE(ValueTextTagsFor(2));
  // Every parameter with a text has a tag, and only those.
  for (int i = 0; i < 139; ++i) {
    EXPECT_EQ(ValueTextTagsFor(i).has_value(), ParamValueText(i, 64).has_value()) << i;
  }
}

}  // namespace
}  // namespace qd3
