// The detail pages: one page's groups are shown at a time under the pedal face.
#include "QD3Control.h"
#include "QD3ControlScreenNames.h"
#include "params/DependentValues.h"
#include "params/PageRules.h"

namespace qd3 {

void QD3Control::ShowPage(int page) {
  const PageContents* contents = PageContentsFor(page);
  if (!contents) return;
  for (const char* group : DetailPageGroups()) ShowGroup(group, false);
  if (mDynamicsGraph) mDynamicsGraph->Show(false);
  currentPage = page;
  if (mScreen) {
    if (IControlHandle* hint = mScreen->GetControlWithTag(kTagIrHint)) {
      hint->Hide(!contents->irHint);
      hint->SetDirty();
    }
  }
  for (const char* group : contents->groups) ShowGroup(group, true);
  if (mDynamicsGraph && contents->dynamicsGraph) mDynamicsGraph->Show(true);
  // The drive page's "Compression" knob is the same setting as "Dynamics".
  if (page == kPageDrive) {
    SetParameterValue(kParamCompression,
                      CompressionNormalizedFromDynamics(mParams[kParamDynamics].Raw()));
  }
}

}  // namespace qd3
