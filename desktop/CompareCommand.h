#pragma once
// Filter > Compare with File...: what importing a chosen export file into
// the tree's selected database would change, and what the database holds
// that the file does not, in a window. Nothing is written.
#include "compare/DatabaseSide.h"
#include "desktop/WindowState.h"

namespace desktop {

void CompareWithFile(WindowState& state);

// How a comparison reads the server from the window: rows whole with the
// window's buffer; a dropped session logs in again and the call is repeated
// once (reads only, so any call may be).
compare::ServerRead WindowRead();
// The lines of the filters that are the same, the others dropped.
std::vector<ComparisonLine> SameOnly(std::vector<ComparisonLine> lines);

}  // namespace desktop
