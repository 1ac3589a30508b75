#pragma once
// A program of this machine started by a test, its standard output read line
// by line, its standard input held open for as long as the object lives.
// Under Wine the program may be a Linux one: Wine starts it natively, though
// it cannot wait for it, so it is told to stop by the end of its input.
#include <cstdint>
#include <string>
#include <vector>

namespace contract {

class NativeProcess {
 public:
  explicit NativeProcess(const std::vector<std::string>& argv);
  ~NativeProcess();
  NativeProcess(const NativeProcess&) = delete;
  NativeProcess& operator=(const NativeProcess&) = delete;

  bool started() const { return started_; }
  // The next line without its end; false at the end of the output.
  bool ReadLine(std::string& line);

 private:
  bool started_ = false;
  intptr_t input_ = -1, output_ = -1, process_ = -1;
  std::string pending_;
};

}  // namespace contract
