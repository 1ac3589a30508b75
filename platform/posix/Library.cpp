#include "platform/Library.h"

#include <dlfcn.h>

namespace platform {

Library::Library(const std::string& name) {
  handle_ = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_) return;
  const char* why = dlerror();
  error_ = why ? why : "cannot load " + name;
}

Library::Function Library::Symbol(const std::string& name) const {
  if (!handle_) return nullptr;
  return reinterpret_cast<Function>(dlsym(handle_, name.c_str()));
}

}  // namespace platform
