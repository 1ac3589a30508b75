#pragma once
// A simulated server's store in a folder of the test's own, for the window
// over the real library loader: loaded and dumped with the built esbsim, and
// a login prompt that answers for the demo user.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/RunProgram.h"
#include "tests/support/TestFiles.h"

namespace desktop::testing {

class SimulatedStore {
 protected:
  SimulatedStore() { setenv("ESBSIM_STORE", store.c_str(), 1); }

  static int32_t DemoPrompt(void*, char* server, char* user, char* password) {
    std::strcpy(server, "essdemo");
    std::strcpy(user, "demo");
    std::strcpy(password, "demo");
    return 0;
  }

  int Esbsim(const std::vector<std::string>& args, const std::string& out = "/dev/null") {
    return support::RunProgram(ESBSIM_PROGRAM, args, {}, out).status;
  }
  // Replaces the store's content with `description`; false when esbsim refused it.
  bool Load(const std::string& description) {
    support::WriteFile(dir / "server.txt", description);
    return Esbsim({"load", store, dir / "server.txt"}) == 0;
  }
  std::string Dump(const std::string& which) {
    const std::string out = dir / "dump.txt";
    std::remove(out.c_str());  // the program's output is appended
    if (Esbsim({"dump", which}, out) != 0) return "(esbsim dump failed)";
    return support::ReadFile(out);
  }
  std::string Dump() { return Dump(store); }

  // A filter's lines in a dump: its own and its rows'; empty when it is not there.
  static std::string FilterLines(const std::string& dump, const std::string& app,
                                 const std::string& db, const std::string& name) {
    const size_t at = dump.find("filter\t" + app + "\t" + db + "\t" + name + "\t");
    if (at == std::string::npos) return "";
    size_t end = dump.find('\n', at) + 1;
    while (dump.compare(end, 4, "row\t") == 0) end = dump.find('\n', end) + 1;
    return dump.substr(at, end - at);
  }

  support::TempDir dir{"quorvel-e2e"};
  std::string store = dir / "server.db";
};

}  // namespace desktop::testing
