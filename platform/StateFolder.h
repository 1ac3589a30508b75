#pragma once
// The folder of what the programs keep for the user between runs (run log,
// backups): ${XDG_STATE_HOME:-$HOME/.local/state}/quorvel, and on Windows
// %LOCALAPPDATA%\Quorvel.
#include <string>

namespace platform {

// The state folder the environment names; empty when it names none.
std::string StateFolder();

// The base directory rule over the values of XDG_STATE_HOME and HOME (either
// may be null): an empty or relative XDG_STATE_HOME counts as unset; an
// empty HOME gives no folder, a relative one a relative folder (callers that
// need an absolute folder check for it).
std::string StateFolderFrom(const char* xdgStateHome, const char* home);

}  // namespace platform
