#pragma once

namespace qd3 {

// The one way a part changes a parameter: the value is set, its change handler runs and
// the controls bound to it follow. The editor object is the writer.
class ParamWriter {
 public:
  virtual void SetParameterValue(int index, double normalized) = 0;

 protected:
  ~ParamWriter() = default;
};

}  // namespace qd3
