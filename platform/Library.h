#pragma once
// A shared library loaded by name at run time, and its symbols. A library
// stays loaded for the life of the process once it is: contexts and callbacks
// handed out by it may outlive any object that found it.
#include <string>

namespace platform {

class Library {
 public:
  // What a symbol is handed back as: cast to the function's own type.
  using Function = void (*)();

  // `name` is a bare file name, found by the loader's own search, or a path.
  explicit Library(const std::string& name);

  bool loaded() const { return handle_ != nullptr; }
  // The loader's reason when loading failed, else empty.
  const std::string& error() const { return error_; }
  // Null when the library is not loaded or has no such symbol.
  Function Symbol(const std::string& name) const;

 private:
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace platform
