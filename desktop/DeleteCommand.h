#pragma once
// Filter > Delete: deletes the ticked filters of the tree's selected
// database and shows its filters again, all ticked.
#include "desktop/WindowState.h"

namespace desktop {

void DeleteSelectedFilters(WindowState& state);

}  // namespace desktop
