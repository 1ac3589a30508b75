#pragma once
// How much the test program holds on the heap: every operator new and delete
// of the program is counted (HeapWatch.cpp replaces them).
#include <cstddef>

namespace compare::testing {

size_t HeapInUse();
// The most held since the last ResetHeapPeak.
size_t HeapPeak();
void ResetHeapPeak();

}  // namespace compare::testing
