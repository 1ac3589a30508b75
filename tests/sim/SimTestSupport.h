#pragma once
// Helpers of the simulated server's tests: a private store per test, and
// running the esbsim tool.
#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

namespace simtest {

// A fresh folder with ESBSIM_STORE pointing into it; both gone at the end.
class TempStore {
 public:
  TempStore();
  ~TempStore();
  TempStore(const TempStore&) = delete;
  TempStore& operator=(const TempStore&) = delete;

  const std::string& path() const { return path_; }
  const std::string& dir() const { return dir_.path(); }
  // Replaces the content; fails the test on a malformed description.
  void Load(const std::string& description) const;
  std::string Dump() const;

 private:
  support::TempDir dir_{"esbsim-test"};
  std::string path_;
};

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs esbsim with the arguments (each one word) and stdin text.
RunResult RunEsbsim(const std::vector<std::string>& args, const std::string& input = {});

// A file in dir holding text; returns its path.
std::string WriteFile(const std::string& dir, const std::string& name, const std::string& text);
using support::ReadFile;

// A small description: server "srv", user "u"/"pw" with access 275.
std::string Header();

}  // namespace simtest
