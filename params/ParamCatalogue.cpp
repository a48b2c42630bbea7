#include "params/ParamCatalogue.h"

namespace qd3 {

ParamCatalogue::ParamCatalogue() {
  // The table is built once, with its value texts; each catalogue copies it.
  static const std::vector<ParamSpec> kSpecs = BuildParamSpecs();
  mParams.reserve(kSpecs.size());
  for (const ParamSpec& info : kSpecs) mParams.emplace_back(info);
}

}  // namespace qd3
