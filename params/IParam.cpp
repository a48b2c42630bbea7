#include "params/IParam.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qd3 {

IParam::IParam(ParamSpec info) : mSpec(std::move(info)), mValue(mSpec.defaultValue) {}

double IParam::Constrain(double value) const {
  if (std::isnan(value)) value = mSpec.min;
  if (mSpec.stepped) value = std::round(value / mSpec.step) * mSpec.step;  // halves away from 0
  return std::clamp(value, mSpec.min, mSpec.max);
}

double IParam::ToNormalized(double value) const {
  return (value - mSpec.min) / (mSpec.max - mSpec.min);
}

double IParam::FromNormalized(double normalized) const {
  return mSpec.min + normalized * (mSpec.max - mSpec.min);
}

void IParam::Set(double value) {
  mValue = Constrain(value);
}

void IParam::SetNormalized(double normalized) {
  Set(FromNormalized(normalized));
}

std::string IParam::DisplayText(double value) const {
  if (mSpec.kind == ParamKind::kEnum) {
    const int v = static_cast<int>(Constrain(value));
    for (const auto& [key, text] : mSpec.displayTexts) {
      if (key == v) return text;
    }
    return {};
  }
  char buf[32];
  if (mSpec.stepped) {
    std::snprintf(buf, sizeof buf, "%d", static_cast<int>(Constrain(value)));
  } else {
    std::snprintf(buf, sizeof buf, "%.2f", Constrain(value));
  }
  return buf;
}

}  // namespace qd3
