#pragma once
// The program's arguments in UTF-8: Windows hands main() its code page's
// narrow text, which cannot hold every file name.
#include <string>
#include <vector>

namespace platform {

// The arguments, the program's own name first.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace platform
