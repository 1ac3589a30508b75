#pragma once
// Where backups go and how long they are kept.
//   folder: ${XDG_STATE_HOME:-$HOME/.local/state}/quorvel/backups (an empty
//           or relative XDG_STATE_HOME counts as unset)
//   age:    QUORVEL_BACKUP_DAYS whole days, default 30; 0 keeps every backup;
//           anything else that is not a whole number of days means the default
//   QUORVEL_BACKUP=off (any letter case) turns QuorvelCL's backups off, for a
//           caller that keeps its own; the desktop program always backs up
#include <ctime>
#include <string>

namespace backup {

inline constexpr int DefaultKeepDays = 30;

// Seconds since the epoch; tests give a fixed one.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::time_t Now() const = 0;
};

class SystemClock final : public Clock {
 public:
  std::time_t Now() const override { return std::time(nullptr); }
};

// The folder from the environment; empty when neither variable gives one.
std::string BackupFolder();
// Days a backup is kept, from the environment.
int KeepDays();
// Whether QUORVEL_BACKUP says "off".
bool BackupTurnedOff();

struct Place {
  std::string folder;
  int keepDays = DefaultKeepDays;
  const Clock* clock = nullptr;  // nullptr: the system clock
};

// The place the environment describes, on the system clock.
Place PlaceFromEnvironment();

}  // namespace backup
