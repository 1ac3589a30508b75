#pragma once
// The bytes the test program holds on the heap, counted by replacing the
// global operator new and delete (Allocations.cpp): the most held at once
// while a function runs, above what was held when it began.
#include <cstddef>
#include <functional>

namespace resttest {

size_t PeakHeapDuring(const std::function<void()>& run);

}  // namespace resttest
