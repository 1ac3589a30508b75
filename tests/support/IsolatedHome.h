#pragma once
// Every test program runs in a home of its own: HOME and the XDG folders
// point into a fresh temporary folder, so that no test reads or writes the
// user's (the simulated server's store, backups, the run log, Qt's settings).
// The folder goes when the program ends.
#include <string>

namespace support {

// Sets the variables and returns the folder; call first thing in main().
std::string IsolateHome();
// Removes the folder and everything in it.
void RemoveIsolatedHome(const std::string& folder);

}  // namespace support
