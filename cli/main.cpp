// QuorvelCL: exports every filter of one database to a filter file, or imports
// a filter file into one database, reporting only through Log.txt.
#include <fcntl.h>
#include <unistd.h>

#include "cli/Clock.h"
#include "cli/CommandLine.h"
#include "cli/Driver.h"
#include "cli/RunLog.h"
#include "essbase/LibraryApi.h"

namespace {

// Unattended runs must never write to a console, not even through the library.
void SilenceConsole() {
  int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null < 0) return;
  ::dup2(null, STDOUT_FILENO);
  ::dup2(null, STDERR_FILENO);
  if (null > STDERR_FILENO) ::close(null);
}

}  // namespace

int main(int argc, char** argv) {
  SilenceConsole();
  const std::string commandLine = cli::JoinArguments(argc, argv);
  cli::AppendFileLog log(cli::LogPathBesideProgram());
  if (!log.isOpen()) return 1;
  essbase::LibraryApi api("libesbapin.so");
  cli::SystemClock clock;
  return cli::RunDriver(api, log, clock, commandLine);
}
