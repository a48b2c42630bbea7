#pragma once

#include <string>

#include "params/ParamSpec.h"

namespace qd3 {

// One parameter: its fixed description and current value. Setting clamps to min..max and
// snaps stepped values to whole steps (halves away from zero). Setting notifies
// nobody; the editor's change handler is run by whoever sets.
class IParam {
 public:
  explicit IParam(ParamSpec info);

  const ParamSpec& Info() const { return mSpec; }
  double Value() const { return mValue; }
  // The integer part of the value: what the pedal and the files carry.
  int Raw() const { return static_cast<int>(mValue); }
  double GetNormalized() const { return ToNormalized(mValue); }

  void Set(double value);
  void SetNormalized(double normalized);

  double ToNormalized(double value) const;
  double FromNormalized(double normalized) const;
  double Constrain(double value) const;

  // Enum: the text of the value, or "" when the value has none. Others: the
  // number itself ("%d" when stepped, "%.2f" otherwise).
  std::string DisplayText(double value) const;
  std::string DisplayText() const { return DisplayText(mValue); }

 private:
  ParamSpec mSpec;
  double mValue;
};

}  // namespace qd3
