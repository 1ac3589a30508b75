#pragma once
// A program of this machine started by a test, its standard output written
// to a file. Under Wine the program may be a Linux one: Wine starts it
// natively, though it can neither wait for it nor hand it a pipe, so the
// program is told to stop through a file of its own.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace contract {

class NativeProcess {
 public:
  NativeProcess(const std::vector<std::string>& argv, const std::filesystem::path& output);
  // Waits for the program, where the system can; it must have been told to stop.
  ~NativeProcess();
  NativeProcess(const NativeProcess&) = delete;
  NativeProcess& operator=(const NativeProcess&) = delete;
  bool started() const { return started_; }

 private:
  bool started_ = false;
  intptr_t process_ = -1;
};

// The path as a native program sees it: itself on Linux, its Unix path
// under Wine; empty when it has none.
std::string NativePath(const std::filesystem::path& path);

}  // namespace contract
