#include "desktop/ExportCommand.h"

#include <unordered_set>

#include "desktop/CommandTarget.h"
#include "desktop/ExportFilterFile.h"
#include "desktop/FileDialogSetup.h"
#include "desktop/HoldStill.h"
#include "desktop/Messages.h"

namespace desktop {

namespace {

void ReportFailure(WindowState& state, const std::string& file, const ExportOutcome& outcome) {
  using Result = ExportOutcome::Result;
  std::string text;
  switch (outcome.result) {
    case Result::Written: return;
    case Result::FileNotOpened: text = msg::ExportFileNotOpened(file, outcome.reason); break;
    case Result::FileNotWritten: text = msg::ExportFileNotWritten(file, outcome.reason); break;
    case Result::ServerFailure: text = WithFailure(msg::ExportDatabaseFailed, outcome.failure); break;
  }
  state.port.ShowMessage(text, msg::DefaultTitle, MessageIcon::Critical, MessageButtons::OK);
}

}  // namespace

void ExportFilters(WindowState& state) {
  ToolkitPort& port = state.port;
  const Selection selection = ReadSelection(state);
  if (!selection.allDatabases && selection.databases.empty()) {
    port.ShowMessage(msg::NoDatabaseSelected, msg::DefaultTitle, MessageIcon::Critical,
                     MessageButtons::OK);
    return;
  }
  PrepareTextFileDialog(state.cdForm, msg::ExportDialogTitle, true);
  // Application-database of the selected node; a node that is no database
  // proposes nothing.
  const std::optional<SelectedDatabase> shown = TreeSelectedDatabase(state.tree);
  state.cdForm.FileName = shown ? shown->application + "-" + shown->database : std::string();
  const std::optional<std::string> file = ChooseFile(port, state.cdForm, true);
  if (!file) return;

  // The same names in both modes: in all-databases mode the hidden list
  // keeps the ticks it had.
  const std::unordered_set<std::string> ticked(selection.tickedFilters.begin(),
                                               selection.tickedFilters.end());
  auto selected = [&](std::string_view filter) { return ticked.count(std::string(filter)) != 0; };
  bool failed = selection.databases.empty();  // all-databases mode, nothing marked
  bool append = false;
  for (const SelectedDatabase& db : selection.databases) {
    ExportOutcome outcome;
    {
      HoldStill hold(state);
      outcome = ExportFilterFile(state.session, *file, db, append, selected);
    }
    append = true;
    if (!outcome.ok()) {
      failed = true;
      ReportFailure(state, *file, outcome);
    }
  }
  if (failed)
    port.ShowMessage(msg::ExportFailed, msg::DefaultTitle, MessageIcon::Critical,
                     MessageButtons::OK);
}

}  // namespace desktop
