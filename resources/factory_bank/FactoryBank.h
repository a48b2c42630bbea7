#pragma once

// The factory preset bank compiled into the program (raw data resource 103,
// "factory-bank.syx"): 128 kCmdWriteFactoryPreset messages of 267 bytes, slots 0..127 in
// order, sent as they are by the factory preset update. Available to every target that
// links the OBJECT library qd3_factory_bank.

#include <cstdint>
#include <span>

namespace qd3 {

inline constexpr int kFactoryBankResourceId = 103;

std::span<const uint8_t> FactoryBankMessages();

}  // namespace qd3
