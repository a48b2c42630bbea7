// The number texts next to the knobs: every change writes its value in the
// player's unit (and, for "Dynamics" and "AnalogSim", the state's title) into the
// text controls that show it. Texts follow values also while a preset or a
// template is applied, so a page shows current numbers the moment it opens.
#include "QD3Control.h"
#include "params/ValueDisplay.h"

namespace qd3 {

void QD3Control::ShowValueText(int index, int raw) {
  if (!IsWindowOpen()) return;
  const std::optional<ValueTextTags> tags = ValueTextTagsFor(index);
  if (!tags) return;
  const std::optional<ValueText> text = ParamValueText(index, raw);
  if (!text) return;
  SetControlText(tags->value, text->value);
  if (tags->title != 0) SetControlText(tags->title, text->title);
}

}  // namespace qd3
