#pragma once
// Filter > Export: the ticked filters of the selected database, or of every
// marked database one after the other into one file.
#include "desktop/WindowState.h"

namespace desktop {

void ExportFilters(WindowState& state);

}  // namespace desktop
