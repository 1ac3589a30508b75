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
#include "essbase/library/Connection.h"

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

}  // namespace

int RunDriver(essbase::EssbaseApi& api, LogSink& log, Clock& clock, std::string_view commandLine) {
  RunState state(api, log);
  state.Log(std::string(msg::ProcessStarting) + FormatGeneralDate(clock.Now()));
  state.Log(std::string(msg::CommandLinePrefix) + MaskPasswords(commandLine));
  // A run that cannot leave a trace does not touch the server.
  if (state.logFailed) return 1;

  const BatchArguments args = ParseCommandLine(commandLine);
  if (std::string_view failed = FirstFailedCheck(args); !failed.empty()) {
    state.Log(failed);
    state.Log("");
    return 1;
  }

  const essbase::ApiInitRecord record(ESB_API_VERSION_6, essbase::CommandLineLocalPath);
  state.lastStatus = api.EsbInit(record, state.instance);
  if (state.lastStatus != 0) {
    state.Log(msg::InitFailed);
    state.Log("");
    return 1;
  }
  state.lastStatus = api.EsbLogin(state.instance, args.server.c_str(), args.user.c_str(),
                                  args.password.c_str(), state.itemCount, state.context);
  if (state.lastStatus != 0) {
    state.Log(std::string(msg::LoginFailed) + std::to_string(state.lastStatus));
    state.LogServerText(state.instance);
    state.Log("");
    return 1;
  }
  state.server = args.server;
  state.user = args.user;
  state.password = args.password;

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

  state.lastStatus = api.EsbLogout(state.context);
  state.lastStatus = api.EsbTerm(state.instance);
  state.Log("");
  if (!done || state.logFailed) return 1;
  return diff == DiffResult::Differ ? DiffersExitStatus : 0;
}

}  // namespace cli
