#include "resources/factory_bank/FactoryBank.h"

// Referred to by symbol, so that calling FactoryBankMessages() keeps the embedded bytes
// in the program even when this library reaches it through a static archive.
extern "C" {
extern const unsigned char qd3_factory_bank_begin[], qd3_factory_bank_end[];
}

namespace qd3 {

std::span<const uint8_t> FactoryBankMessages() {
  return {qd3_factory_bank_begin, qd3_factory_bank_end};
}

}  // namespace qd3
