#include "screens/pages/DetailPages.h"

#include "screens/pages/PageParts.h"

namespace qd3 {

void BuildDetailPages(ScreenBuild& s) {
  BuildAmbiencePage(s);
  BuildAnalogSimPage(s);
  BuildGatePage(s);
  BuildIrPageFrame(s);
  BuildLevelPage(s);
  BuildDrivePage(s);
  BuildPreampPage(s);
  BuildLowFilterPage(s);
  BuildMidFilterPage(s);
  BuildHighFilterPage(s);
  BuildAutoFilterPage(s);
  BuildPageTitles(s);
}

}  // namespace qd3
