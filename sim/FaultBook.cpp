#include "sim/FaultBook.h"

namespace esbsim {

int32_t FaultBook::fire(Store& store, Operation op, bool refresh) {
  if (refresh || version_ < 0) {
    const int64_t version = store.dataVersion();
    if (version != version_) {
      if (store.readFaults(armed_) != 0) armed_.clear();
      version_ = version;
    }
  }
  const auto name = essbase::OperationName(op);
  for (auto it = armed_.begin(); it != armed_.end(); ++it) {
    if (it->operation != name || successes(op) < it->after) continue;
    const int32_t status = it->status;
    if (it->times > 0) {
      // Spent faults leave the store so that a later run starts clean; our
      // own commit does not change the data version, so the copy is kept
      // in step by hand.
      store.spendFault(it->id);
      if (--it->times == 0) armed_.erase(it);
    }
    return status;
  }
  return 0;
}

}  // namespace esbsim
