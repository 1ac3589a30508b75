#include "desktop/BrowseCommands.h"

#include <array>

#include "desktop/MenuState.h"
#include "desktop/Messages.h"
#include "desktop/ServerTree.h"

namespace desktop {

using namespace essbase;

int32_t ReadFilterNames(Session& session, const std::string& application,
                        const std::string& database, std::vector<std::string>& names) {
  names.clear();
  int16_t count = 0;
  session.RunWithRelogin([&](EssbaseApi& api, Handle context) {
    return api.EsbListFilters(context, application.c_str(), database.c_str(), count);
  });
  for (int i = 0; session.status() == 0 && i < count; ++i) {
    std::array<char, FilterNameWidth> name{};
    if (session.Run([&](EssbaseApi& api, Handle context) {
          return api.EsbGetNextItem(context, ItemFilterName, name);
        }) != 0)
      break;
    names.push_back(FieldText(name));
  }
  return session.status();
}

int32_t ListFilters(WindowState& state, const std::string& application,
                    const std::string& database) {
  state.filters.Clear();
  state.listed.reset();
  // A Reconnect sets the hourglass for a command still at work; a click that
  // did not set it must not leave it behind.
  const bool wasBusy = state.busy;
  std::vector<std::string> names;
  const int32_t status = ReadFilterNames(state.session, application, database, names);
  if (!wasBusy && state.busy) Mouse(state, false);
  if (status != 0) {
    // A list cut short would look complete; show none rather than part.
    state.port.ShowMessage(
        WithServerText(state, msg::FilterListFailed(status), state.session.context()),
        msg::DefaultTitle, MessageIcon::Critical, MessageButtons::OK);
    return status;
  }
  for (const std::string& filter : names) {
    // Ticking each new node gives what ticking them all after each addition
    // gives, in linear time.
    const int node =
        state.filters.Add("", "_" + filter, filter, ImageDatabase, ImageMarkedDatabase);
    state.filters.SetChecked(node, true);
  }
  state.listed = SelectedDatabase{application, database};
  return status;
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
