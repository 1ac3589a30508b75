#include "desktop/DeleteCommand.h"

#include "desktop/BackupBeforeWrite.h"
#include "desktop/CommandTarget.h"
#include "desktop/DeleteFilters.h"
#include "desktop/FilterList.h"
#include "desktop/HoldStill.h"
#include "desktop/Messages.h"

namespace desktop {

namespace {

// More names than this would not fit a message box.
constexpr size_t MaxRefusedNamed = 20;

std::string RefusedText(const std::vector<RefusedDeletion>& refused) {
  std::string text(msg::DeleteRefusedStart);
  for (size_t i = 0; i < refused.size() && i < MaxRefusedNamed; ++i)
    text += msg::DeleteRefusedLine(refused[i].filter, refused[i].status) +
            msg::SaidOfOne(refused[i].failure.serverText.empty() ? refused[i].failure.detail
                                                                 : refused[i].failure.serverText);
  if (refused.size() > MaxRefusedNamed)
    text += msg::DeleteRefusedMore(refused.size() - MaxRefusedNamed);
  return text;
}

}  // namespace

void DeleteSelectedFilters(WindowState& state) {
  ToolkitPort& port = state.port;
  // The selected node's parent names the application: without a database
  // node there is nothing to delete from.
  const std::optional<SelectedDatabase> db = TreeSelectedDatabase(state.tree);
  if (!db) {
    port.ShowMessage(msg::NoDatabaseSelected, msg::DefaultTitle, MessageIcon::Critical,
                     MessageButtons::OK);
    return;
  }
  if (port.ShowMessage(msg::DeleteQuestion, msg::DefaultTitle, MessageIcon::Question,
                       MessageButtons::YesNo) != MessageAnswer::Yes)
    return;
  // The ticks of the list as it was; it is not refilled between deletions.
  const std::vector<std::string> ticked = TickedNames(state.filters);
  DeleteOutcome outcome;
  int32_t listed = 0;
  backup::BackupOutcome saved{backup::BackupResult::NothingToBackUp, {}, {}, 0, {}};
  {
    HoldStill hold(state);
    if (!ticked.empty())
      saved = BackupBeforeWrite(state.session, "delete",
                                {{db->application, db->database, ticked, false}}, state.backups);
    if (saved.mayWrite()) {
      outcome = DeleteFilters(state.session, *db, ticked);
      listed = RefillFilterList(state, *db);
    }
  }
  if (!saved.mayWrite()) {
    port.ShowMessage(msg::BackupFailed(saved.reason), msg::DefaultTitle, MessageIcon::Critical,
                     MessageButtons::OK);
    return;
  }
  if (listed != 0) {
    if (outcome.deleted == 0) {
      port.ShowMessage(msg::FiltersNotListed(listed), msg::DefaultTitle, MessageIcon::Critical,
                       MessageButtons::OK);
      port.SetCaption(Control::Window, msg::DeleteListingCaption);
    } else {
      port.ShowMessage(msg::DeletedBeforeListingFailed(listed, outcome.deleted), msg::DefaultTitle,
                       MessageIcon::Critical, MessageButtons::OK);
      port.SetCaption(Control::Window, msg::DeletedBeforeListingFailedCaption(outcome.deleted));
    }
  }
  if (!outcome.refused.empty())
    port.ShowMessage(RefusedText(outcome.refused), msg::DefaultTitle, MessageIcon::Critical,
                     MessageButtons::OK);
}

}  // namespace desktop
