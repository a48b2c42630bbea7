#pragma once

#include <functional>
#include <memory>

#include "toolkit/api/ITimerHandle.h"

namespace qd3 {

// A GLib timeout on the default main context, calling `tick` every intervalMs
// on the UI thread until the handle is destroyed.
std::unique_ptr<ITimerHandle> StartGlibTimer(unsigned intervalMs, std::function<void()> tick);

}  // namespace qd3
