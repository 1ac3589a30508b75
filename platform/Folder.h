#pragma once
// Folders private to the user (mode 0700), and making renames in them
// durable.
#include <string>

namespace platform {

// Creates `folder` when missing (its parent must exist). An existing folder
// keeps its mode; ENOTDIR when something else holds the name. 0 or errno.
int MakePrivateFolder(const std::string& folder);
// Creates each missing folder above the file at `file`, errors ignored: the
// open of the file that follows tells whether they matter.
void MakePrivateFoldersAbove(const std::string& file);
// Makes the renames done in `folder` survive a crash, as far as it can.
void SyncFolder(const std::string& folder);

}  // namespace platform
