#include "controls/IPanelControl.h"

namespace qd3 {

IPanelControl::IPanelControl(const IRECT& bounds, const IColor& fill)
    : IControl(bounds), color(fill) {}

void IPanelControl::Draw(IDrawContext& g) {
  g.FillRect(color, rect);
}

void IPanelControl::SetColor(const IColor& c) {
  color = c;
  SetDirty();
}

}  // namespace qd3
