#include "tests/rest/Allocations.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> held{0};
std::atomic<size_t> peak{0};

void* Take(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  const size_t now = held += malloc_usable_size(p);
  for (size_t seen = peak; now > seen && !peak.compare_exchange_weak(seen, now);) {
  }
  return p;
}

void Give(void* p) {
  if (!p) return;
  held -= malloc_usable_size(p);
  std::free(p);
}

}  // namespace

void* operator new(size_t size) {
  return Take(size);
}
void* operator new[](size_t size) {
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

namespace resttest {

size_t PeakHeapDuring(const std::function<void()>& run) {
  const size_t before = held;
  peak = before;
  run();
  return peak - before;
}

}  // namespace resttest
