#pragma once

#include <cstdint>

namespace qd3::test {

// Counts, on the calling thread only, the heap allocations and lock acquisitions
// made while a probe is armed. Allocations are caught by replacing the global
// operator new of the test program and by wrapping malloc and its relatives at
// link time (-Wl,--wrap); locks by wrapping the pthread mutex, rwlock, spin-lock
// and semaphore waits the same way, which also covers std::mutex and friends.
class ScopedRealtimeProbe {
 public:
  ScopedRealtimeProbe();
  ~ScopedRealtimeProbe();
  ScopedRealtimeProbe(const ScopedRealtimeProbe&) = delete;
  ScopedRealtimeProbe& operator=(const ScopedRealtimeProbe&) = delete;

  uint64_t Allocations() const;
  uint64_t Locks() const;
};

}  // namespace qd3::test
