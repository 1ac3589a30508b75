#pragma once
// Runs the built QuorvelCL against the simulated server: every test has its
// own copy of the program and library (so its own Log.txt) and its own store.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/CliTestSupport.h"
#include "tests/support/RunProgram.h"

namespace cli::testing {

using support::RunProgram;
using support::StartProgram;
using support::WaitProgram;

class SimulatedRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.path().empty());
    std::filesystem::copy_file(QUORVELCL_PATH, dir / "QuorvelCL");
    std::filesystem::copy_file(ESBAPIN_PATH, dir / "libesbapin.so");
  }

  void Load(const std::string& description) {
    WriteFile(dir / "server.txt", description);
    auto r = RunProgram(ESBSIM_PATH, {"load", dir / "store.db", dir / "server.txt"}, {},
                        dir / "esbsim.out");
    ASSERT_EQ(r.status, 0) << ReadFile(dir / "esbsim.out");
  }

  std::string Dump() {
    std::filesystem::remove(dir / "dump.txt");  // the console file is appended to
    auto r = RunProgram(ESBSIM_PATH, {"dump", dir / "store.db"}, {}, dir / "dump.txt");
    EXPECT_EQ(r.status, 0);
    return ReadFile(dir / "dump.txt");
  }

  int Run(const std::vector<std::string>& args) {
    auto r = RunProgram(dir / "QuorvelCL", args, {"ESBSIM_STORE=" + (dir / "store.db")},
                        dir / "console.txt");
    EXPECT_EQ(ReadFile(dir / "console.txt"), "") << "QuorvelCL wrote to the console";
    return r.status;
  }

  int Export(const std::string& db, const std::string& file) {
    return Run({"-s", "essdemo", "-a", "Fin", "-d", db, "-i", "demo", "-p", "demo", "-f", file,
                "-t", "export"});
  }
  int Import(const std::string& db, const std::string& file) {
    return Run({"-s", "essdemo", "-a", "Fin", "-d", db, "-i", "demo", "-p", "demo", "-f", file,
                "-t", "import"});
  }

  // The run log with every date line checked and replaced by "//DATE".
  std::string Log() {
    std::string log = ReadFile(dir / "Log.txt");
    static const std::regex date(
        "//Process starting at [0-9]{1,2}/[0-9]{1,2}/[0-9]{4} [0-9]{1,2}:[0-9]{2}:[0-9]{2} "
        "[AP]M\r\n");
    return std::regex_replace(log, date, "//DATE\r\n");
  }
  std::string Block(const std::string& db, const std::string& file, const std::string& op,
                    const std::string& middle) {
    return "//DATE\r\n//-s essdemo -a Fin -d " + db + " -i demo -p ******** -f " + file + " -t " +
           op + "\r\n" + middle + "\r\n";
  }

  TempDir dir;
};

// The filters of one database in a dump, each as its filter line and row
// lines, by name.
inline std::map<std::string, std::string> DumpedFilters(const std::string& dump,
                                                        const std::string& application,
                                                        const std::string& database) {
  std::map<std::string, std::string> filters;
  const std::string prefix = "filter\t" + application + "\t" + database + "\t";
  std::istringstream in(dump);
  std::string line;
  std::string* current = nullptr;
  while (std::getline(in, line)) {
    if (line.rfind("filter\t", 0) == 0) {
      current = nullptr;
      if (line.rfind(prefix, 0) == 0) {
        const std::string name =
            line.substr(prefix.size(), line.find('\t', prefix.size()) - prefix.size());
        current = &filters[name];
      }
    } else if (line.rfind("row\t", 0) != 0) {
      current = nullptr;
    }
    if (current) current->append(line).append("\n");
  }
  return filters;
}

}  // namespace cli::testing
