#pragma once

#include "toolkit/IControl.h"

namespace qd3 {

// A filled rectangle.
class IPanelControl : public IControl {
 public:
  IPanelControl(const IRECT& bounds, const IColor& fill);

  void Draw(IDrawContext& g) override;
  void SetColor(const IColor& c);
  const IColor& GetColor() const { return mColor; }

 private:
  IColor mColor;
};

}  // namespace qd3
