#pragma once
// File names are UTF-8 inside the programs. The standard library's own paths
// take a narrow string in the system's code page on Windows, so every name
// crosses into std::filesystem and the file streams through here.
#include <filesystem>
#include <string>

namespace platform {

std::filesystem::path PathOf(const std::string& utf8);
std::string TextOf(const std::filesystem::path& path);

}  // namespace platform
