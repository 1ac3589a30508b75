#pragma once
// Files that travel with the program: the client library, the run log.
#include <string>

namespace essbase {

// `name` in the folder of the running program file; empty when unknown.
std::string BesideProgram(const std::string& name);

}  // namespace essbase
