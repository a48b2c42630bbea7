#include "toolkit/controls/IPanelControl.h"

namespace qd3 {

IPanelControl::IPanelControl(const IRECT& bounds, const IColor& fill)
    : IControl(bounds), mColor(fill) {}

void IPanelControl::Draw(IDrawContext& g) {
  g.FillRect(mColor, mRect);
}

void IPanelControl::SetColor(const IColor& c) {
  mColor = c;
  SetDirty();
}

}  // namespace qd3
