#include "params/ParamCatalogue.h"

namespace qd3 {

ParamCatalogue::ParamCatalogue() {
  auto specs = BuildParamSpecs();
  mParams.reserve(specs.size());
  for (auto& spec : specs) mParams.emplace_back(std::move(spec));
}

}  // namespace qd3
