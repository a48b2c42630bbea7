#pragma once

// The detail pages under the pedal face: one page's groups are shown at a time.

#include "editor/ParamWriter.h"
#include "editor/ScreenWriter.h"
#include "params/ParamCatalogue.h"
#include "protocol/DeviceSession.h"

namespace qd3 {

class Pages {
 public:
  Pages(ScreenWriter& screen, ParamWriter& writer, const ParamCatalogue& params,
        const DeviceSession& session, int& currentPage)
      : mScreen(screen),
        mWriter(writer),
        mParams(params),
        mSession(session),
        mCurrentPage(currentPage) {}

  // Hides every detail group and the dynamics graph, then shows page `page`'s.
  void ShowPage(int page);
  // ShowPage unless the page is shown already, values are being applied or no window
  // is open.
  void ShowPageUnlessSkipped(int page);
  int Current() const { return mCurrentPage; }

 private:
  ScreenWriter& mScreen;
  ParamWriter& mWriter;
  const ParamCatalogue& mParams;
  const DeviceSession& mSession;
  int& mCurrentPage;
};

}  // namespace qd3
