#include "tests/compare/HeapWatch.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> inUse{0};
std::atomic<size_t> peak{0};

void* Take(size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (!p) return nullptr;
  const size_t now = inUse += malloc_usable_size(p);
  size_t seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
  return p;
}

void Give(void* p) {
  if (!p) return;
  inUse -= malloc_usable_size(p);
  std::free(p);
}

}  // namespace

namespace compare::testing {

size_t HeapInUse() {
  return inUse.load();
}
size_t HeapPeak() {
  return peak.load();
}
void ResetHeapPeak() {
  peak = inUse.load();
}

}  // namespace compare::testing

void* operator new(size_t size) {
  if (void* p = Take(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) {
  if (void* p = Take(size)) return p;
  throw std::bad_alloc();
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return Take(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return Take(size);
}
void operator delete(void* p) noexcept {
  Give(p);
}
void operator delete[](void* p) noexcept {
  Give(p);
}
void operator delete(void* p, size_t) noexcept {
  Give(p);
}
void operator delete[](void* p, size_t) noexcept {
  Give(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  Give(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  Give(p);
}
