#include "tests/support/IsolatedHome.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace support {

std::string IsolateHome() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quorvel-home-XXXXXX";
  if (!::mkdtemp(pattern.data())) std::abort();
  const std::string home = pattern;
  ::setenv("HOME", home.c_str(), 1);
  for (const auto& [name, folder] : {std::pair{"XDG_CONFIG_HOME", "/.config"},
                                     std::pair{"XDG_DATA_HOME", "/.local/share"},
                                     std::pair{"XDG_STATE_HOME", "/.local/state"},
                                     std::pair{"XDG_CACHE_HOME", "/.cache"}})
    ::setenv(name, (home + folder).c_str(), 1);
  // The simulated server's store follows XDG_DATA_HOME when it is not named.
  ::unsetenv("ESBSIM_STORE");
  return home;
}

void RemoveIsolatedHome(const std::string& folder) {
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

}  // namespace support
