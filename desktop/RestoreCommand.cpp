#include "desktop/RestoreCommand.h"

#include <algorithm>

#include "backup/DefinedNames.h"
#include "backup/LoadBackup.h"
#include "backup/Restore.h"
#include "desktop/BackupBeforeWrite.h"
#include "desktop/CommandTarget.h"
#include "desktop/FileDialogSetup.h"
#include "desktop/FilterList.h"
#include "desktop/HoldStill.h"
#include "desktop/Messages.h"

namespace desktop {

std::string CommandWords(std::string_view command) {
  if (command == "change") return "Change Access";
  if (command == "delete") return "Delete";
  if (command == "import") return "Import";
  if (command == "restore") return "Restore";
  return std::string(command);
}

namespace {

std::string Where(std::string_view application, std::string_view database) {
  return std::string(application) + "/" + std::string(database);
}

// "App/Db: a, b" lines, database by database in first-met order; `shown`
// counts the names written against MaxNamesShown.
template <typename Entry>
std::string NamesByDatabase(const std::vector<Entry>& entries, size_t& shown) {
  std::vector<std::string> order;
  for (const Entry& e : entries) {
    std::string db = Where(e.application, e.database);
    if (std::find(order.begin(), order.end(), db) == order.end()) order.push_back(std::move(db));
  }
  std::string text;
  for (const std::string& db : order) {
    std::string line;
    for (const Entry& e : entries) {
      if (Where(e.application, e.database) != db || shown >= MaxNamesShown) continue;
      line += (line.empty() ? "" : ", ") + e.name;
      ++shown;
    }
    if (!line.empty()) text += "\n" + db + ": " + line;
  }
  return text;
}

void Tell(WindowState& state, std::string_view text, MessageIcon icon) {
  state.port.ShowMessage(text, msg::DefaultTitle, icon, MessageButtons::OK);
}

std::string FailuresText(const std::vector<backup::RestoreFailure>& failures) {
  std::string text(msg::RestoreFailedStart);
  for (size_t i = 0; i < failures.size() && i < MaxNamesShown; ++i) {
    const backup::RestoreFailure& f = failures[i];
    text += msg::RestoreFailedLine(Where(f.application, f.database) + "/" + f.filter, f.created,
                                   f.operation, f.status) +
            msg::SaidOfOne(f.failure.serverText.empty() ? f.failure.detail : f.failure.serverText);
  }
  if (failures.size() > MaxNamesShown)
    text += msg::RestoreMoreNames(failures.size() - MaxNamesShown);
  return text;
}

// Whether the backup put anything into the database the filter list shows.
bool Touches(const backup::BackupInfo& info, const SelectedDatabase& db) {
  for (const backup::DatabaseRange& r : info.databases)
    if (r.application == db.application && r.database == db.database) return true;
  for (const backup::CreatedName& c : info.created)
    if (c.application == db.application && c.database == db.database) return true;
  return false;
}

}  // namespace

std::string BackupSummary(const backup::BackupInfo& info) {
  const std::string command = CommandWords(info.command);
  std::string text = msg::RestoreSummaryStart(command, info.server, info.time);
  size_t shown = 0;
  const size_t total = info.filters.size() + info.created.size();
  if (!info.filters.empty())
    text += msg::RestorePutsBack(info.filters.size()) + NamesByDatabase(info.filters, shown);
  if (!info.created.empty())
    text +=
        msg::RestoreDeletes(info.created.size(), command) + NamesByDatabase(info.created, shown);
  if (shown < total) text += msg::RestoreMoreNames(total - shown);
  return text + std::string(msg::RestoreQuestion);
}

void RestoreFromBackup(WindowState& state) {
  ToolkitPort& port = state.port;
  FileDialogOptions& cdForm = state.cdForm;
  cdForm.DefaultExt = msg::BackupFileExtension;
  cdForm.DialogTitle = msg::RestoreDialogTitle;
  cdForm.Filter = msg::BackupFileTypes;
  cdForm.InitDir = state.backups.folder;
  cdForm.CancelError = true;
  const std::optional<std::string> file = ChooseFile(port, cdForm, false);
  if (file) RestoreBackupFile(state, *file);
}

void RestoreBackupFile(WindowState& state, const std::string& file) {
  ToolkitPort& port = state.port;
  // The whole backup is checked before the question, so that a cut or
  // altered one is refused before anything is written.
  std::string reason;
  const std::optional<backup::LoadedBackup> loaded = backup::LoadBackup(file, reason);
  if (!loaded) return Tell(state, msg::BackupNotLoaded(file, reason), MessageIcon::Critical);
  // Another server's filters put back here would replace this one's.
  const std::string& server = state.session.conn().Server;
  if (!backup::SameServer(loaded->info.server, server))
    return Tell(state, msg::BackupOfOtherServer(loaded->info.server), MessageIcon::Critical);
  if (port.ShowMessage(BackupSummary(loaded->info), msg::DefaultTitle, MessageIcon::Question,
                       MessageButtons::YesNo) != MessageAnswer::Yes)
    return;

  backup::BackupOutcome saved;
  backup::RestoreOutcome outcome;
  int32_t listed = 0;
  const std::optional<SelectedDatabase> shown =
      state.AllDatabasesMode() ? std::nullopt : state.listed;
  {
    HoldStill hold(state);
    // A restore rewrites filters too: what it replaces is saved first, so
    // that a restore of the wrong backup can itself be undone.
    const backup::Request request = backup::RestoreRequest(server, loaded->info);
    saved = BackupBeforeWrite(state.session, request.command, request.targets, state.backups);
    if (saved.mayWrite()) {
      {
        // No description covers it: a filter write or deletion is made
        // again, whole, after a new login.
        auto policed =
            state.session.Under(essbase::policy::WholeFilters(essbase::Policy::Login::Prompt));
        outcome = backup::RestoreBackup(state.session.server(), *loaded);
      }
      if (shown && Touches(loaded->info, *shown)) listed = RefillFilterList(state, *shown);
    }
  }
  if (!saved.mayWrite()) return Tell(state, msg::BackupFailed(saved.reason), MessageIcon::Critical);
  if (outcome.ok())
    Tell(state, msg::Restored(outcome.restored, outcome.deleted), MessageIcon::Information);
  else
    Tell(state, FailuresText(outcome.failures), MessageIcon::Critical);
  if (listed != 0) Tell(state, msg::FiltersNotListed(listed), MessageIcon::Critical);
}

}  // namespace desktop
