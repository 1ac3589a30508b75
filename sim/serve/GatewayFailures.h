#pragma once
// How the gateway words a failure: the server's own words for the statuses a
// client acts on, naming the objects of the request; any other status by
// number. And names from the wire as the Latin-1 store holds them.
#include <cstdint>
#include <string>

#include "sim/serve/SimGateway.h"

namespace esbsim::serve {

// The objects a request names.
struct Named {
  std::string app, db, filter;
};

Reply Failed(int32_t status, const std::string& operation, const Named& named = {});

// The request's names as the store holds them; false with the refusal.
bool StoreNames(const Named& wire, Named& latin1, Reply& refusal);

}  // namespace esbsim::serve
