#include "controls/ICaptionControl.h"

#include <cmath>

#include "IGraphics.h"
#include "api/IEditorDelegate.h"

namespace qd3 {

ICaptionControl::ICaptionControl(const IRECT& bounds, int param, const IText& style,
                                 const IColor& bg)
    : ITextControl(bounds, {}, style, bg) {
  paramIdx = param;
  ignoreMouse = false;
}

void ICaptionControl::Draw(IDrawContext& g) {
  g.FillRect(background, rect);
  g.DrawText(text, GetParamDisplayText(), rect);
}

void ICaptionControl::OnMouseDown(float, float, const IMouseMod&) {
  if (!ui || !ui->GetDelegate() || paramIdx <= kNoParameter) return;
  std::vector<std::string> items = ui->GetDelegate()->GetParamValueTexts(paramIdx);
  if (items.empty()) return;
  const int checked =
      static_cast<int>(std::lround(value * (static_cast<double>(items.size()) - 1)));
  ui->CreatePopupMenu(*this, std::move(items), rect, checked);
}

void ICaptionControl::OnPopupMenuSelection(int index) {
  if (index < 0 || !ui || !ui->GetDelegate()) return;
  const auto n = ui->GetDelegate()->GetParamValueTexts(paramIdx).size();
  SetValueFromUserInput(n > 1 ? static_cast<double>(index) / static_cast<double>(n - 1) : 0.0);
}

}  // namespace qd3
