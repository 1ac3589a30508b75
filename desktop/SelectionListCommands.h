#pragma once
// Other > Export Selections List to File / Make Selections from Save List:
// the ticks of the filter list kept in a file and set again from it, on any
// database. No server call.
#include "desktop/NodeList.h"
#include "desktop/ToolkitPort.h"

namespace desktop {

// Writes the texts of the ticked entries, in list order.
void ExportSelectedList(ToolkitPort& port, FileDialogOptions& cdForm, const NodeList& filters);
// Ticks exactly the entries a line of the file names (whole text, exact,
// case-sensitive). A file that cannot be read to its end changes no tick.
void ImportSelectedList(ToolkitPort& port, FileDialogOptions& cdForm, NodeList& filters);

}  // namespace desktop
