#pragma once
// The Help menu: About, the home page and the version check.
#include <string>

#include "backup/Place.h"
#include "desktop/ToolkitPort.h"

namespace desktop {

// The running version: major.minor.revision in decimal, no leading zeros.
std::string RunningVersion();

void About(ToolkitPort& port, const backup::Place& backups);
void OpenHomePage(ToolkitPort& port);
void CheckVersion(ToolkitPort& port);

}  // namespace desktop
