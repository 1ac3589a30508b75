#include "backup/Place.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

#include "platform/StateFolder.h"

namespace backup {

namespace {

std::string_view Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string_view(value) : std::string_view();
}

}  // namespace

std::string BackupFolder() {
  const std::string state = platform::StateFolder();
  return state.empty() ? std::string() : state + "/backups";
}

int KeepDays() {
  const std::string_view text = Env("QUORVEL_BACKUP_DAYS");
  int days = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), days);
  // Ten thousand years would overflow nothing, but means "keep" just as well.
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || days < 0 ||
      days > 3650000)
    return DefaultKeepDays;
  return days;
}

bool BackupTurnedOff() {
  const std::string_view text = Env("QUORVEL_BACKUP");
  return text.size() == 3 && (text[0] | 0x20) == 'o' && (text[1] | 0x20) == 'f' &&
         (text[2] | 0x20) == 'f';
}

Place PlaceFromEnvironment() {
  return {BackupFolder(), KeepDays(), nullptr};
}

}  // namespace backup
