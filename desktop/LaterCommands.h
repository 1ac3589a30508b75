#pragma once
// Commands whose work arrives in a later version: they say so plainly
// instead of pretending to work.
#include "desktop/WindowState.h"

namespace desktop {

void NotAvailable(WindowState& state);

}  // namespace desktop
