// The simulated server's description loader on any text: whatever it accepts
// dumps to a description that loads back and dumps the same (a fixed point).
#include <cstdint>
#include <sstream>
#include <string>

#include "sim/Description.h"
#include "sim/Store.h"
#include "fuzz/FuzzCheck.h"

namespace {

esbsim::Store& MemoryStore() {
  static esbsim::Store* store = [] {
    auto* s = new esbsim::Store;
    FUZZ_CHECK(s->open(":memory:", false) == 0);
    return s;
  }();
  return *store;
}

std::string Dump(esbsim::Store& store) {
  std::ostringstream out;
  std::string error;
  FUZZ_CHECK(esbsim::DumpDescription(store.db(), out, error));
  return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Loading is linear in the input; longer inputs only slow the search.
  if (size > 64 * 1024) return 0;
  esbsim::Store& store = MemoryStore();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::string error;
  if (!esbsim::ReplaceContent(store, in, error)) {
    FUZZ_CHECK(!error.empty());
    return 0;
  }
  const std::string first = Dump(store);
  std::istringstream again(first);
  FUZZ_CHECK(esbsim::ReplaceContent(store, again, error));
  FUZZ_CHECK(Dump(store) == first);
  return 0;
}
