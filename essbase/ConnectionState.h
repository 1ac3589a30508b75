#pragma once
// The desktop program's single connection record; all zero or empty at start.
#include <cstdint>
#include <string>

#include "essbase/Constants.h"

namespace essbase {

struct ConnectionState {
  Handle InstanceHandle = 0;  // written by EsbInit
  Handle ContextHandle = 0;   // written by EsbAutoLogin / EsbLogin
  std::string Server;         // at most NameWidth characters, or a URL (ServerAddress.h)
  std::string User;           // at most NameWidth characters
  std::string Password;
  int32_t Status = 0;  // status of the last API call
  int16_t Access = 0;  // access code returned by the login
};

}  // namespace essbase
