#pragma once
// Permissions that follow a file's content to a new file replacing it.
namespace platform {

// Gives the file `to` the permission bits of the file `from`. 0 or errno.
int CopyFileMode(int from, int to);

}  // namespace platform
