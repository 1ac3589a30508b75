#pragma once
// Removes backups older than the age the user keeps them (by modification
// time), and temporary files a backup left behind that long ago. Files of
// any other name in the folder are never touched.
#include <ctime>
#include <string>

namespace backup {

// keepDays 0 keeps everything. Returns how many files were removed.
int PruneBackups(const std::string& folder, int keepDays, std::time_t now);

}  // namespace backup
