#pragma once

namespace qd3 {

// The dynamics graph of the open window, as the change handler drives it.
struct DynamicsGraphView {
  virtual ~DynamicsGraphView() = default;
  virtual void Show(bool show) = 0;
  virtual void SetGateThreshold(double db) = 0;
  virtual void SetGateRatio(double ratio) = 0;
  virtual void SetCompThreshold(double db) = 0;
  virtual void SetCompRatio(double ratio) = 0;
};

}  // namespace qd3
