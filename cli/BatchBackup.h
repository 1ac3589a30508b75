#pragma once
// QuorvelCL's safety net: the backup before an import, and the restore of a
// backup (-t restore -f BACKUP). Both write their failures to the run log.
#include "cli/CommandLine.h"
#include "cli/RunState.h"

namespace cli {

// Saves the target database's filters that the import file defines, and the
// names it will create. False (a run-log line written) when no complete
// backup could be made: the import must then not run. QUORVEL_BACKUP=off
// makes it do nothing.
bool BackupBeforeImport(RunState& state, const BatchArguments& args);

// Puts the backup named by -f back; its records say where each filter goes.
// True when every filter came back and every created one was deleted.
bool BatchRestore(RunState& state, const BatchArguments& args);

}  // namespace cli
