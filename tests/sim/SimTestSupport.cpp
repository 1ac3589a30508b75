#include "tests/sim/SimTestSupport.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <sstream>

#include "sim/Description.h"
#include "sim/Store.h"
#include "tests/support/RunProgram.h"

namespace simtest {

TempStore::TempStore() {
  EXPECT_FALSE(dir_.path().empty());
  path_ = dir_ / "server.db";
  setenv("ESBSIM_STORE", path_.c_str(), 1);
}

TempStore::~TempStore() {
  unsetenv("ESBSIM_STORE");
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
  support::WriteFile(path, text);
  return path;
}

RunResult RunEsbsim(const std::vector<std::string>& args, const std::string& input) {
  const support::CapturedRun run = support::RunCaptured(ESBSIM_PATH, args, input);
  return {run.status, run.out, run.err};
}

std::string Header() {
  return "server\tsrv\nuser\tu\tpw\t275\n";
}

}  // namespace simtest
