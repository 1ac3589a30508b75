#pragma once
// How the gateway words a failure: the server's own words for the statuses a
// client acts on, naming the objects of the request; any other status by
// number.
#include <cstdint>
#include <string>

#include "sim/SimCore.h"
#include "sim/serve/SimGateway.h"

namespace esbsim::serve {

Reply Failed(int32_t status, const std::string& operation, const Names& named = {});

// What a row must be for the server to hold it.
std::string RowRule();

}  // namespace esbsim::serve
