#include "screens/overlays/OverlayParts.h"

#include <memory>

#include "screens/ScreenStyles.h"
#include "toolkit/controls/IPanelControl.h"

namespace qd3 {
namespace {

constexpr float kGridCellInset = 3.f;

}  // namespace

IVButtonControl* AttachClickCatcher(ScreenBuild& s, IActionFunction action,
                                    std::string_view group) {
  return s.graphics.AttachControl(std::make_unique<IVButtonControl>(
                                      IRECT(0.f, 0.f, kCanvasWidth, kCanvasHeight),
                                      std::move(action), std::string{}, s.styles.clearButtonStyle),
                                  kNoTag, group);
}

void AttachOverlayBackdrop(ScreenBuild& s, std::string_view group) {
  s.graphics.AttachControl(
      std::make_unique<IPanelControl>(IRECT(0.f, 0.f, kCanvasWidth, kCanvasHeight),
                                      palette::kWindowBackground),
      kNoTag, group);
}

IRECT GridRow(const IRECT& area, int rows, int row) {
  const float pitch = area.H() / static_cast<float>(rows);
  const float top = area.T + pitch * static_cast<float>(row);
  return IRECT(area.L, top, area.R, top + pitch).GetPadded(-kGridCellInset);
}

}  // namespace qd3
