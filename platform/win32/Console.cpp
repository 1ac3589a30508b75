#include "platform/Console.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <windows.h>

#include <cstdio>
#include <vector>

namespace platform {

int KeepErrorConsole() {
  const int error = _fileno(stderr);
  if (error < 0) return -1;  // a program without a console
  // Above the standard three, so that silencing them never reuses it.
  std::vector<int> low;
  int kept = _dup(error);
  while (kept >= 0 && kept <= 2) {
    low.push_back(kept);
    kept = _dup(error);
  }
  for (int fd : low) _close(fd);
  return kept;
}

void SilenceConsole() {
  int null = -1;
  if (_wsopen_s(&null, L"NUL", _O_WRONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0) != 0) return;
  _dup2(null, 1);
  _dup2(null, 2);
  if (null > 2) _close(null);
  // A library may write to the standard handles without the C runtime.
  SetStdHandle(STD_OUTPUT_HANDLE, reinterpret_cast<HANDLE>(_get_osfhandle(1)));
  SetStdHandle(STD_ERROR_HANDLE, reinterpret_cast<HANDLE>(_get_osfhandle(2)));
}

}  // namespace platform
