#include "tests/host_midi/RealtimeProbe.h"

#include <pthread.h>
#include <semaphore.h>

#include <cstdlib>
#include <new>

namespace {

// Plain thread-local integers: reading or bumping them allocates nothing.
thread_local bool tArmed = false;
thread_local uint64_t tAllocations = 0;
thread_local uint64_t tLocks = 0;

void NoteAllocation() {
  if (tArmed) ++tAllocations;
}
void NoteLock() {
  if (tArmed) ++tLocks;
}

void* AllocateOrThrow(std::size_t size) {
  NoteAllocation();
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

void* AllocateAlignedOrThrow(std::size_t size, std::align_val_t align) {
  NoteAllocation();
  const auto alignment = static_cast<std::size_t>(align);
  const std::size_t rounded = (size + alignment - 1) / alignment * alignment;
  if (void* p = std::aligned_alloc(alignment, rounded == 0 ? alignment : rounded)) return p;
  throw std::bad_alloc();
}

}  // namespace

namespace qd3::test {

ScopedRealtimeProbe::ScopedRealtimeProbe() {
  tAllocations = 0;
  tLocks = 0;
  tArmed = true;
}
ScopedRealtimeProbe::~ScopedRealtimeProbe() {
  tArmed = false;
}
uint64_t ScopedRealtimeProbe::Allocations() const {
  return tAllocations;
}
uint64_t ScopedRealtimeProbe::Locks() const {
  return tLocks;
}

}  // namespace qd3::test

// The replaceable global allocation functions of the whole test program.
void* operator new(std::size_t size) {
  return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
  return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  NoteAllocation();
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  NoteAllocation();
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new(std::size_t size, std::align_val_t align) {
  return AllocateAlignedOrThrow(size, align);
}
void* operator new[](std::size_t size, std::align_val_t align) {
  return AllocateAlignedOrThrow(size, align);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
  std::free(p);
}

// Link-time wrappers (-Wl,--wrap=NAME): every reference to NAME in the objects
// and static libraries of this program lands here, and __real_NAME is the
// original. That covers the host library's own code and everything the
// compiler inlined into it from the standard headers.
extern "C" {
void* __real_malloc(std::size_t);
void* __real_calloc(std::size_t, std::size_t);
void* __real_realloc(void*, std::size_t);
void* __real_aligned_alloc(std::size_t, std::size_t);
int __real_posix_memalign(void**, std::size_t, std::size_t);
int __real_pthread_mutex_lock(pthread_mutex_t*);
int __real_pthread_mutex_trylock(pthread_mutex_t*);
int __real_pthread_rwlock_rdlock(pthread_rwlock_t*);
int __real_pthread_rwlock_wrlock(pthread_rwlock_t*);
int __real_pthread_spin_lock(pthread_spinlock_t*);
int __real_sem_wait(sem_t*);

void* __wrap_malloc(std::size_t size) {
  NoteAllocation();
  return __real_malloc(size);
}
void* __wrap_calloc(std::size_t count, std::size_t size) {
  NoteAllocation();
  return __real_calloc(count, size);
}
void* __wrap_realloc(void* p, std::size_t size) {
  NoteAllocation();
  return __real_realloc(p, size);
}
void* __wrap_aligned_alloc(std::size_t alignment, std::size_t size) {
  NoteAllocation();
  return __real_aligned_alloc(alignment, size);
}
int __wrap_posix_memalign(void** p, std::size_t alignment, std::size_t size) {
  NoteAllocation();
  return __real_posix_memalign(p, alignment, size);
}
int __wrap_pthread_mutex_lock(pthread_mutex_t* m) {
  NoteLock();
  return __real_pthread_mutex_lock(m);
}
int __wrap_pthread_mutex_trylock(pthread_mutex_t* m) {
  NoteLock();
  return __real_pthread_mutex_trylock(m);
}
int __wrap_pthread_rwlock_rdlock(pthread_rwlock_t* l) {
  NoteLock();
  return __real_pthread_rwlock_rdlock(l);
}
int __wrap_pthread_rwlock_wrlock(pthread_rwlock_t* l) {
  NoteLock();
  return __real_pthread_rwlock_wrlock(l);
}
int __wrap_pthread_spin_lock(pthread_spinlock_t* l) {
  NoteLock();
  return __real_pthread_spin_lock(l);
}
int __wrap_sem_wait(sem_t* s) {
  NoteLock();
  return __real_sem_wait(s);
}
}
