#pragma once
// The faults armed in a store, as one API instance sees them: its own count
// of successful calls per operation, and a copy of the armed faults that is
// refreshed whenever another process has committed to the store.
#include <array>
#include <cstdint>
#include <vector>

#include "essbase/library/Operation.h"
#include "sim/Store.h"

namespace esbsim {

using essbase::Operation;

class FaultBook {
 public:
  // Status the call must fail with, 0 when no fault fires. refresh = false
  // skips the check for faults armed meanwhile (row and item calls, which
  // come in long runs).
  int32_t fire(Store& store, Operation op, bool refresh = true);
  void succeeded(Operation op) { ++successes_[static_cast<size_t>(op)]; }
  int64_t successes(Operation op) const { return successes_[static_cast<size_t>(op)]; }
  void setSuccesses(Operation op, int64_t n) { successes_[static_cast<size_t>(op)] = n; }

 private:
  std::array<int64_t, essbase::OperationCount> successes_{};
  std::vector<StoredFault> armed_;
  int64_t version_ = -1;
};

}  // namespace esbsim
