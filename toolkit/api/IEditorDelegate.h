#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qd3 {

// The toolkit's view of the editor's parameters: what a bound control reads, sets
// and lists. The editor object implements it.
class IEditorDelegate {
 public:
  virtual ~IEditorDelegate() = default;

  virtual int NParams() const = 0;
  virtual double GetParamNormalized(int index) const = 0;
  // A control moved: sets the parameter's normalized value, which runs the
  // editor's change handler (and sends to the pedal where that applies).
  virtual void SetParameterValueFromUI(int index, double normalized) = 0;
  // A press on a control bound to `index` begins a gesture and its release ends it; each
  // wheel notch is a gesture of its own (`wheel`). The moves between are one change.
  virtual void BeginParamGesture(int /*index*/, bool /*wheel*/) {}
  virtual void EndParamGesture() {}
  // Text of the parameter's value at the given normalized position.
  virtual std::string GetParamDisplayText(int index, double normalized) const = 0;
  // The value texts of an enumerated parameter in value order; empty for others.
  virtual std::vector<std::string> GetParamValueTexts(int index) const = 0;
  // The parameter's name as a tooltip shows it; "" where the editor has none.
  virtual std::string GetParamName(int /*index*/) const { return {}; }
  // The number the screen's read-out shows for the value, in the player's unit (without
  // the unit); "" where the parameter has no read-out, and the display text stands.
  virtual std::string GetParamReadout(int /*index*/, double /*normalized*/) const { return {}; }
  // The normalized value a double click on a knob or slider returns to.
  virtual double GetParamDefaultNormalized(int index) const { return GetParamNormalized(index); }
  // The normalized size of one raw step (what one wheel notch moves), or 0 for a
  // continuous parameter.
  virtual double GetParamStepNormalized(int /*index*/) const { return 0.0; }
  // Values set by code (from the pedal, a file, a template) wait in a queue until
  // the UI thread hands each (index, normalized) to the controls bound to it.
  virtual void DrainQueuedParamUpdates(const std::function<void(int, double)>& apply) = 0;
};

}  // namespace qd3
