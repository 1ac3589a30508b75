#pragma once
// Initialising the API and logging in through the API's own prompt. Session
// builds the reporting login and the login again on these.
#include <cstdint>
#include <string_view>

#include "essbase/ConnectionState.h"
#include "essbase/Generation.h"
#include "essbase/library/EssbaseApi.h"

namespace essbase {

// Fills the init record for generation g and calls EsbInit; the status is
// left in state.Status (the login that follows reports failures).
void InitializeApi(EssbaseApi& api, ConnectionState& state, Generation g);

// Shows the API's login prompt with the server blank and the previous user
// and password offered again; copies the answers back (each name cut at
// NameWidth characters; a server URL is kept whole). Returns the status,
// also left in state.Status.
int32_t AutoLogin(EssbaseApi& api, ConnectionState& state);

}  // namespace essbase
