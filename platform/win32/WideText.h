#pragma once
// Windows takes names in UTF-16; the programs hold them in UTF-8.
#include <string>

namespace platform::win32 {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);

}  // namespace platform::win32
