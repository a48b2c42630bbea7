#pragma once

namespace qd3 {

// Detail pages chosen by ShowPage; 0 means none opened yet.
inline constexpr int kPageNone = 0;
inline constexpr int kPageGate = 1;
inline constexpr int kPageAmbience = 3;
inline constexpr int kPageIr = 4;
inline constexpr int kPageAnalogSim = 5;
inline constexpr int kPageLowFilter = 10;
inline constexpr int kPageMidFilter = 11;
inline constexpr int kPageHighFilter = 12;
inline constexpr int kPageDrive = 13;
inline constexpr int kPagePreamp = 14;
inline constexpr int kPageLevel = 15;
inline constexpr int kPageAutoFilter = 16;

}  // namespace qd3
