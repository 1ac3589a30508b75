#pragma once
// Where the lists and labels go for a window size and mode. The one place
// that holds the window's geometry: the view builds its controls from it and
// the logic applies it on every resize.
#include "desktop/WindowState.h"

namespace desktop {

// A control's place in twips, relative to the client area.
struct Placement {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Controls that never move.
constexpr Placement ChkAllPlacement{120, 0, 7455, 300};
constexpr int LabelTop = 360;

// The moving controls for an outer window size (for the first showing, the
// client area's) and mode. A width or height may come out negative for a
// very small window; ApplyLayout then leaves it alone.
struct WindowLayout {
  Placement tree;
  Placement filters;
  int label1Left = 0;
  int label2Left = 0;
};
WindowLayout LayoutFor(int width, int height, bool allDatabases);

// The layout rule, applied on every resize. Each assignment stands alone: one
// the control refuses is skipped and the rest are still made.
void ApplyLayout(WindowState& state, int width, int height);
// The tree's width for the current mode and window width.
void ApplyTreeWidth(WindowState& state);
// Shows or hides the filter list and its label for the current mode.
void ApplyModeVisibility(WindowState& state);

}  // namespace desktop
