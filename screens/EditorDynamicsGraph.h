#pragma once

// The dynamics graph as the editor drives it: the toolkit's graph plus the view the
// change handler talks to, so the editor never sees a toolkit type.

#include "QD3Control.h"
#include "toolkit/graphs/IDynamicsResponseGraph.h"

namespace qd3 {

class EditorDynamicsGraph : public IDynamicsResponseGraph, public QD3Control::DynamicsGraphView {
 public:
  using IDynamicsResponseGraph::IDynamicsResponseGraph;

  void Show(bool show) override {
    Hide(!show);
    SetDirty();
  }
  void SetGateThreshold(double db) override { IDynamicsResponseGraph::SetGateThreshold(db); }
  void SetGateRatio(double ratio) override { IDynamicsResponseGraph::SetGateRatio(ratio); }
  void SetCompThreshold(double db) override { IDynamicsResponseGraph::SetCompThreshold(db); }
  void SetCompRatio(double ratio) override { IDynamicsResponseGraph::SetCompRatio(ratio); }
};

}  // namespace qd3
