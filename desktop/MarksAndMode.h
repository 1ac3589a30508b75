#pragma once
// Marks, the mode check box and the filter list's context menu.
#include <vector>

#include "desktop/WindowState.h"

namespace desktop {

// Double-click in the tree: marks or unmarks the selected database.
void DblClick(WindowState& state);
// The marked databases of the tree, in tree order: the one place that says
// what a mark is.
std::vector<int> MarkedDatabases(const NodeList& tree);
// Number of marked databases in the tree.
int CountMarked(const NodeList& tree);
// Click on chkAll with its new value (1 ticked).
void ModeClick(WindowState& state, int value);
// Mouse button pressed in the filter list.
void FilterListMouseDown(WindowState& state, int button);
// Select All (true) and De-Select All (false) on the list's current content.
void TickAll(NodeList& filters, bool ticked);

}  // namespace desktop
