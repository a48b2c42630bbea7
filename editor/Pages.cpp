#include "editor/Pages.h"

#include "params/DependentValues.h"
#include "params/PageNumbers.h"
#include "params/PageRules.h"

namespace qd3 {

void Pages::ShowPage(int page) {
  const PageContents* contents = PageContentsFor(page);
  if (!contents) return;
  for (const char* group : DetailPageGroups()) mScreen.ShowGroup(group, false);
  if (DynamicsGraphView* graph = mScreen.Graph()) graph->Show(false);
  mCurrentPage = page;
  mScreen.Hide(kTagIrHint, !contents->irHint);
  for (const char* group : contents->groups) mScreen.ShowGroup(group, true);
  if (DynamicsGraphView* graph = mScreen.Graph(); graph && contents->dynamicsGraph) {
    graph->Show(true);
  }
  // The drive page's "Compression" knob is the same setting as "Dynamics".
  if (page == kPageDrive) {
    mWriter.SetParameterValue(kParamCompression,
                              CompressionNormalizedFromDynamics(mParams[kParamDynamics].Raw()));
  }
}

void Pages::ShowPageUnlessSkipped(int page) {
  if (mScreen.IsOpen() && PageSwitchRuns(page, mCurrentPage, mSession.applyingDeviceValues)) {
    ShowPage(page);
  }
}

}  // namespace qd3
