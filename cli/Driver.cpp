#include "cli/Driver.h"

#include <algorithm>
#include <string>

#include "cli/BatchBackup.h"
#include "cli/BatchDiff.h"
#include "cli/BatchExport.h"
#include "cli/BatchImport.h"
#include "cli/CommandLine.h"
#include "cli/Messages.h"
#include "cli/RunState.h"
#include "essbase/library/LibraryServer.h"

namespace cli {

namespace {

// The first check that fails, in the fixed order; empty when all pass.
std::string_view FirstFailedCheck(const BatchArguments& a) {
  if (a.server.empty()) return msg::NoServer;
  if (a.database.empty()) return msg::NoDatabase;
  if (a.application.empty()) return msg::NoApplication;
  if (a.user.empty()) return msg::NoUserName;
  if (a.file.empty()) return msg::NoFile;
  if (a.password.empty()) return msg::NoPassword;
  if (a.operation.empty()) return msg::NoOperation;
  return {};
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
  return s;
}

// The run log's listener: QuorvelCL never shows a prompt or a message.
class Unattended final : public essbase::SessionListener {
 public:
  void LoginFailed(const essbase::Failure&) override {}
  void LoggedInAgain() override {}
};

}  // namespace

int RunDriver(essbase::Server& server, essbase::ConnectionState& conn, LogSink& log, Clock& clock,
              std::string_view commandLine) {
  Unattended unattended;
  essbase::Session session(server, conn, essbase::Generation::V6, unattended);
  RunState state(session, log);
  state.Log(std::string(msg::ProcessStarting) + FormatGeneralDate(clock.Now()));
  state.Log(std::string(msg::CommandLinePrefix) + MaskUrlCredentials(MaskPasswords(commandLine)));
  // A run that cannot leave a trace does not touch the server.
  if (state.logFailed) return 1;

  BatchArguments args = ParseCommandLine(commandLine);
  if (std::string_view failed = FirstFailedCheck(args); !failed.empty()) {
    state.Log(failed);
    state.Log("");
    return 1;
  }
  // Names are the programs' texts; the file is the system's path as given.
  for (std::string* name :
       {&args.server, &args.application, &args.database, &args.user, &args.password})
    *name = ArgumentText(*name);

  if (server.Start(essbase::Generation::V6, essbase::CommandLineLocalPath)) {
    state.Log(msg::InitFailed);
    state.Log("");
    return 1;
  }
  if (const essbase::Failure f = session.LogInWith({args.server, args.user, args.password})) {
    state.Log(std::string(msg::LoginFailed) + std::to_string(f.status));
    state.LogFailure(f);
    state.Log("");
    return 1;
  }

  bool done = false;
  DiffResult diff = DiffResult::Same;
  const std::string operation = Lower(args.operation);
  if (operation == "import")
    done = BackupBeforeImport(state, args) &&
           BatchImport(state, args.file, args.application, args.database);
  else if (operation == "export")
    done = BatchExport(state, args.file, args.application, args.database);
  else if (operation == "restore")
    done = BatchRestore(state, args);
  else if (operation == "diff") {
    diff = BatchDiff(state, args);
    done = diff != DiffResult::Failed;
  }

  session.server().LogOut();
  session.server().End();
  state.Log("");
  if (!done || state.logFailed) return 1;
  return diff == DiffResult::Differ ? DiffersExitStatus : 0;
}

int RunDriver(essbase::EssbaseApi& api, LogSink& log, Clock& clock, std::string_view commandLine) {
  essbase::ConnectionState conn;
  essbase::LibraryServer server(api, conn);
  return RunDriver(server, conn, log, clock, commandLine);
}

}  // namespace cli
