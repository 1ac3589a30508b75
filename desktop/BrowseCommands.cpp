#include "desktop/BrowseCommands.h"

#include "desktop/MenuState.h"
#include "desktop/Messages.h"
#include "desktop/FilterList.h"

namespace desktop {

using namespace essbase;

int32_t ListFilters(WindowState& state, const std::string& application,
                    const std::string& database) {
  // A Reconnect sets the hourglass for a command still at work; a click that
  // did not set it must not leave it behind.
  const bool wasBusy = state.busy;
  essbase::Failure failed;
  {
    auto policed = state.session.Under(policy::Listing());
    failed = FillFilterList(state, {application, database});
  }
  if (!wasBusy && state.busy) Mouse(state, false);
  if (failed)
    state.port.ShowMessage(WithFailure(msg::FilterListFailed(failed.status), failed),
                           msg::DefaultTitle, MessageIcon::Critical, MessageButtons::OK);
  return failed.status;
}

void NodeClick(WindowState& state, int index) {
  if (!state.tree.Select(index) || index == 0) return;
  if (state.AllDatabasesMode()) return;
  const int image = state.tree.Image(index);
  if (image != ImageDatabase && image != ImageMarkedDatabase) {
    ChangeMenu(state, false);
    return;
  }
  const std::string database = state.tree.Text(index);
  const std::string application = state.tree.Text(state.tree.Parent(index));
  if (ListFilters(state, application, database) != 0) return;
  ChangeMenu(state, true);
}

}  // namespace desktop
