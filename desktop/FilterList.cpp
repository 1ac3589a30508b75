#include "desktop/FilterList.h"

#include "desktop/MarksAndMode.h"

namespace desktop {

essbase::Failure FillFilterList(WindowState& state, const SelectedDatabase& db) {
  NodeList& filters = state.filters;
  filters.Clear();
  state.listed.reset();
  std::vector<std::string> names;
  const essbase::Failure failed =
      state.session.server().ListFilters({db.application, db.database}, names);
  if (failed) return failed;
  for (const std::string& filter : names) {
    // Ticking each new node gives what ticking them all after each addition
    // gives, in linear time.
    const int node = filters.Add("", "_" + filter, filter, ImageDatabase, ImageMarkedDatabase);
    filters.SetChecked(node, true);
  }
  state.listed = db;
  return failed;
}

int32_t RefillFilterList(WindowState& state, const SelectedDatabase& db) {
  auto policed = state.session.Under(essbase::policy::None());
  return FillFilterList(state, db).status;
}

}  // namespace desktop
