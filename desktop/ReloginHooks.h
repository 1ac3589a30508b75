#pragma once
// Call hooks for the filter file operations run by a desktop command: every
// status is kept in the connection, and a chosen call that answers
// ReloginStatus makes the session log in again and is repeated once.
#include <functional>

#include "essbase/Session.h"
#include "filterfile/ServerCall.h"

namespace desktop {

// `repeatable` says whether the call that just failed may be repeated after
// a login again. A repeat that fails again is not followed by another login.
filterfile::CallHooks ReloginHooks(essbase::Session& session,
                                   std::function<bool(filterfile::ServerCall call)> repeatable);

// For writes through the filter sink: only row calls are repeated; a
// closing call goes to the same operation but must not be.
bool RowCallsOnly(filterfile::ServerCall call);

}  // namespace desktop
