#include "host/app/GlibTimer.h"

#include <glib.h>

namespace qd3 {
namespace {

class GlibTimer final : public ITimerHandle {
 public:
  GlibTimer(unsigned intervalMs, std::function<void()> tick) : mTick(std::move(tick)) {
    mSource = g_timeout_add(intervalMs, &GlibTimer::OnTimeout, this);
  }
  // Removing the source on the UI thread, where it runs, means no call is in
  // progress and none follows.
  ~GlibTimer() override {
    if (mSource != 0) g_source_remove(mSource);
  }

 private:
  static gboolean OnTimeout(gpointer self) {
    static_cast<GlibTimer*>(self)->mTick();
    return G_SOURCE_CONTINUE;
  }

  std::function<void()> mTick;
  guint mSource = 0;
};

}  // namespace

std::unique_ptr<ITimerHandle> StartGlibTimer(unsigned intervalMs, std::function<void()> tick) {
  return std::make_unique<GlibTimer>(intervalMs, std::move(tick));
}

}  // namespace qd3
