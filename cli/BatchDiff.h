#pragma once
// -t diff: what an import of the file into the database would change, or,
// when -f names a backup (its .txt or .info), what a restore of it would
// change. Writes nothing to the server.
#include "cli/CommandLine.h"
#include "cli/RunState.h"

namespace cli {

enum class DiffResult { Same, Differ, Failed };

// Every filter that differs and the summary go to the run log; so does a
// failure (Failed), also a line of the file that is no row record.
DiffResult BatchDiff(RunState& state, const BatchArguments& args);

// Whether -f names a backup rather than an export file: its description, or
// records with a description beside them.
bool NamesBackup(const std::string& file);

}  // namespace cli
