#pragma once
// The folder of the running program: the client library and the run log travel with it.
#include <string>

namespace platform {

// `name` in the folder of the running program file; empty when unknown.
std::string BesideProgram(const std::string& name);

}  // namespace platform
