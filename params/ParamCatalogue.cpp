#include "params/ParamCatalogue.h"

namespace qd3 {

ParamCatalogue::ParamCatalogue() {
  auto specs = BuildParamSpecs();
  mParams.reserve(specs.size());
  for (auto& info : specs) mParams.emplace_back(std::move(info));
}

}  // namespace qd3
