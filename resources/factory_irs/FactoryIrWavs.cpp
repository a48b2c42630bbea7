#include "resources/factory_irs/FactoryIrWavs.h"

// The embedded bytes are referred to by symbol rather than only looked up by id: this
// pulls the generated objects into any program that calls FactoryIrWavs(), even when
// this library reaches it through a static archive that would otherwise drop them.
extern "C" {
extern const unsigned char qd3_factory_ir_1_begin[], qd3_factory_ir_1_end[];
extern const unsigned char qd3_factory_ir_2_begin[], qd3_factory_ir_2_end[];
extern const unsigned char qd3_factory_ir_3_begin[], qd3_factory_ir_3_end[];
extern const unsigned char qd3_factory_ir_4_begin[], qd3_factory_ir_4_end[];
extern const unsigned char qd3_factory_ir_5_begin[], qd3_factory_ir_5_end[];
extern const unsigned char qd3_factory_ir_6_begin[], qd3_factory_ir_6_end[];
extern const unsigned char qd3_factory_ir_7_begin[], qd3_factory_ir_7_end[];
extern const unsigned char qd3_factory_ir_8_begin[], qd3_factory_ir_8_end[];
}

namespace qd3 {

FactoryIrWavData FactoryIrWavs() {
  using Span = std::span<const uint8_t>;
  return {Span(qd3_factory_ir_1_begin, qd3_factory_ir_1_end),
          Span(qd3_factory_ir_2_begin, qd3_factory_ir_2_end),
          Span(qd3_factory_ir_3_begin, qd3_factory_ir_3_end),
          Span(qd3_factory_ir_4_begin, qd3_factory_ir_4_end),
          Span(qd3_factory_ir_5_begin, qd3_factory_ir_5_end),
          Span(qd3_factory_ir_6_begin, qd3_factory_ir_6_end),
          Span(qd3_factory_ir_7_begin, qd3_factory_ir_7_end),
          Span(qd3_factory_ir_8_begin, qd3_factory_ir_8_end)};
}

}  // namespace qd3
