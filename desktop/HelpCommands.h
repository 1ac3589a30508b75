#pragma once
// The Help menu: About, the home page and the version check.
#include <string>

#include "desktop/WindowState.h"

namespace desktop {

// The running version: major.minor.revision in decimal, no leading zeros.
std::string RunningVersion();

void About(WindowState& state);
void OpenHomePage(WindowState& state);
void CheckVersion(WindowState& state);

}  // namespace desktop
