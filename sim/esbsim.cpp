// esbsim: administration of the simulated server's store.
//   esbsim demo STORE | esbsim load STORE FILE|- | esbsim dump STORE
//   esbsim serve STORE [--port N] [--tls CERT KEY] [--latency-ms N] [--page-size N]
//                      [--access-case upper|mixed]
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/DemoServer.h"
#include "sim/Description.h"
#include "sim/Store.h"
#include "sim/serve/ServeCommand.h"

namespace {

int Usage() {
  std::cerr << "usage: esbsim demo STORE\n"
               "       esbsim load STORE FILE    (FILE - reads standard input)\n"
               "       esbsim dump STORE\n"
               "       esbsim serve STORE [--port N] [--tls CERT KEY] [--latency-ms N]\n"
               "                          [--page-size N] [--access-case upper|mixed]\n";
  return 2;
}

int Fail(const std::string& message) {
  std::cerr << "esbsim: " << message << "\n";
  return 1;
}

// A store that did not exist before a failed load does not exist after it.
void RemoveNewStore(const std::string& path) {
  std::error_code ec;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"})
    std::filesystem::remove(path + suffix, ec);
}

int Load(const std::string& path, std::istream& in) {
  const bool existed = std::filesystem::exists(path);
  std::string error;
  {
    esbsim::Store store;
    if (store.open(path, false) != 0)
      error = path + ": " + store.error();
    else if (esbsim::ReplaceContent(store, in, error))
      return 0;
  }
  if (!existed) RemoveNewStore(path);
  return Fail(error);
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc >= 3 && std::string(argv[1]) == "serve")
    return esbsim::serve::RunServe(std::vector<std::string>(argv + 2, argv + argc));
  if (argc < 3) return Usage();
  const std::string command = argv[1], path = argv[2];
  if (command == "demo" && argc == 3) {
    std::istringstream in(esbsim::DemoDescription());
    return Load(path, in);
  }
  if (command == "load" && argc == 4) {
    const std::string file = argv[3];
    if (file == "-") return Load(path, std::cin);
    std::ifstream in(file, std::ios::binary);
    if (!in) return Fail(file + ": cannot open");
    return Load(path, in);
  }
  if (command == "dump" && argc == 3) {
    // Dumping never creates a store.
    if (!std::filesystem::exists(path)) return Fail(path + ": no such store");
    esbsim::Store store;
    if (store.open(path, false) != 0) return Fail(path + ": " + store.error());
    std::string error;
    if (!esbsim::DumpDescription(store.db(), std::cout, error)) return Fail(error);
    return 0;
  }
  return Usage();
}
