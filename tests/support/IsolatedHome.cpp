#include "tests/support/IsolatedHome.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace support {

namespace {

void Set(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  ::setenv(name, value.c_str(), 1);
#endif
}

void Unset(const char* name) {
#ifdef _WIN32
  _putenv_s(name, "");
#else
  ::unsetenv(name);
#endif
}

#ifdef _WIN32
std::string MakeHome() {
  std::error_code ec;
  const std::filesystem::path tmp = std::filesystem::temp_directory_path(ec);
  if (ec) std::abort();
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path home =
        tmp / ("quorvel-home-" + std::to_string(_getpid()) + "-" + std::to_string(random()));
    if (std::filesystem::create_directory(home, ec)) return home.generic_string();
  }
  std::abort();
}
#else
std::string MakeHome() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quorvel-home-XXXXXX";
  if (!::mkdtemp(pattern.data())) std::abort();
  return pattern;
}
#endif

}  // namespace

std::string IsolateHome() {
  const std::string home = MakeHome();
  Set("HOME", home);
  for (const auto& [name, folder] :
       {std::pair{"XDG_CONFIG_HOME", "/.config"}, std::pair{"XDG_DATA_HOME", "/.local/share"},
        std::pair{"XDG_STATE_HOME", "/.local/state"}, std::pair{"XDG_CACHE_HOME", "/.cache"},
        std::pair{"LOCALAPPDATA", "/AppData/Local"}, std::pair{"APPDATA", "/AppData/Roaming"}})
    Set(name, home + folder);
  // The simulated server's store follows XDG_DATA_HOME when it is not named.
  Unset("ESBSIM_STORE");
  return home;
}

void RemoveIsolatedHome(const std::string& folder) {
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

}  // namespace support
