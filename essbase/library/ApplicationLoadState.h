#pragma once
// Whether an application is loaded on the server. The record's layout, and
// so its length and the position of the load state, belong to the generation
// the program is built for.
#include <string>

#include "essbase/Generation.h"
#include "essbase/library/EssbaseApi.h"

namespace essbase {

// Calls EsbGetApplicationInfo with a record of the generation's length and
// reads nothing but the load state. Returns the call's status; loaded is set
// only when it is 0.
int32_t ReadApplicationLoaded(EssbaseApi& api, Handle context, const std::string& application,
                              Generation generation, bool& loaded);

}  // namespace essbase
