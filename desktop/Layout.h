#pragma once
// Where the lists and labels go for a window size and mode.
#include "desktop/WindowState.h"

namespace desktop {

// The layout rule, applied on every resize. Each assignment stands alone: one
// the control refuses is skipped and the rest are still made.
void ApplyLayout(WindowState& state, int width, int height);
// The tree's width for the current mode and window width.
void ApplyTreeWidth(WindowState& state);
// Shows or hides the filter list and its label for the current mode.
void ApplyModeVisibility(WindowState& state);

}  // namespace desktop
