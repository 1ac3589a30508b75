#include "tests/sim/SimTestSupport.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "essbase/sim/Description.h"
#include "essbase/sim/Store.h"

namespace simtest {

TempStore::TempStore() {
  char pattern[] = "/tmp/esbsim-test-XXXXXX";
  const char* made = mkdtemp(pattern);
  EXPECT_NE(made, nullptr);
  dir_ = made ? made : "/tmp";
  path_ = dir_ + "/server.db";
  setenv("ESBSIM_STORE", path_.c_str(), 1);
}

TempStore::~TempStore() {
  unsetenv("ESBSIM_STORE");
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

void TempStore::Load(const std::string& description) const {
  esbsim::Store store;
  ASSERT_EQ(store.open(path_, false), 0) << store.error();
  std::istringstream in(description);
  std::string error;
  ASSERT_TRUE(esbsim::ReplaceContent(store, in, error)) << error;
}

std::string TempStore::Dump() const {
  esbsim::Store store;
  EXPECT_EQ(store.open(path_, false), 0) << store.error();
  std::ostringstream out;
  std::string error;
  EXPECT_TRUE(esbsim::DumpDescription(store.db(), out, error)) << error;
  return out.str();
}

std::string WriteFile(const std::string& dir, const std::string& name, const std::string& text) {
  const std::string path = dir + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

RunResult RunEsbsim(const std::string& args, const std::string& input) {
  char pattern[] = "/tmp/esbsim-run-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  const std::string in = WriteFile(dir, "in", input);
  const std::string command = std::string("'") + ESBSIM_PATH + "' " + args + " <'" + in + "' >'" +
                              dir + "/out' 2>'" + dir + "/err'";
  RunResult r;
  const int status = std::system(command.c_str());
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = ReadFile(dir + "/out");
  r.err = ReadFile(dir + "/err");
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return r;
}

std::string Header() {
  return "server\tsrv\nuser\tu\tpw\t275\n";
}

}  // namespace simtest
