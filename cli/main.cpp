// QuorvelCL: exports every filter of one database to a filter file, or imports
// a filter file into one database, reporting only through its run log.
#include <string>
#include <vector>

#include "cli/Clock.h"
#include "cli/CommandLine.h"
#include "cli/Driver.h"
#include "cli/RunLog.h"
#include "essbase/library/LibraryApi.h"
#include "essbase/ServerAddress.h"
#include "essbase/rest/RestServer.h"
#include "platform/Arguments.h"
#include "platform/Console.h"
#include "platform/Descriptor.h"

namespace {

// The one word on the console: a run without any run log would otherwise end
// without a trace anywhere.
void ReportNoRunLog(int console, const std::string& beside, const std::string& inStateFolder) {
  if (console < 0) return;
  std::string line = "QuorvelCL: cannot write the run log, neither " + beside + " nor " +
                     (inStateFolder.empty() ? std::string("a state folder") : inStateFolder) + "\n";
  platform::WriteInOne(console, line);
}

}  // namespace

int main(int argc, char** argv) {
  const int console = platform::KeepErrorConsole();
  // Unattended runs must never write to a console, not even through the library.
  platform::SilenceConsole();
  const std::vector<std::string> arguments = platform::ProgramArguments(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& a : arguments) pointers.push_back(a.c_str());
  const std::string commandLine =
      cli::JoinArguments(static_cast<int>(pointers.size()), pointers.data());
  const std::string beside = cli::LogPathBesideProgram();
  const std::string inStateFolder = cli::LogPathInStateFolder();
  auto log = cli::OpenRunLog(beside, inStateFolder);
  if (!log) {
    ReportNoRunLog(console, beside, inStateFolder);
    return 1;
  }
  if (console >= 0) platform::CloseFile(console);
  cli::SystemClock clock;
  // The server is known before the API starts: a URL is a REST API, any
  // other name the client library's.
  if (essbase::IsServerUrl(cli::ParseCommandLine(commandLine).server)) {
    essbase::ConnectionState conn;
    essbase::rest::RestServer server;
    return cli::RunDriver(server, conn, *log, clock, commandLine);
  }
  essbase::LibraryApi api(essbase::ClientLibraryName);
  return cli::RunDriver(api, *log, clock, commandLine);
}
