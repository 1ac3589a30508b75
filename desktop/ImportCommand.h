#pragma once
// Filter > Import: a filter export file into the tree's selected database,
// then that database's filters shown again, all ticked.
#include "desktop/WindowState.h"

namespace desktop {

void ImportFilters(WindowState& state);

}  // namespace desktop
