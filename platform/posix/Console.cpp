#include "platform/Console.h"

#include <fcntl.h>
#include <unistd.h>

namespace platform {

int KeepErrorConsole() {
  // Above the standard three, so that silencing them never reuses it.
  return ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
}

void SilenceConsole() {
  const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null < 0) return;
  ::dup2(null, STDOUT_FILENO);
  ::dup2(null, STDERR_FILENO);
  if (null > STDERR_FILENO) ::close(null);
}

}  // namespace platform
