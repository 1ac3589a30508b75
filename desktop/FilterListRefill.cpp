#include "desktop/FilterListRefill.h"

#include <array>

#include "desktop/MarksAndMode.h"
#include "desktop/ServerTree.h"

namespace desktop {

using essbase::EssbaseApi;
using essbase::Handle;

int32_t RefillFilterList(WindowState& state, const SelectedDatabase& db) {
  essbase::Session& session = state.session;
  NodeList& filters = state.filters;
  filters.Clear();
  state.listed.reset();
  int16_t count = 0;
  int32_t status = session.Run([&](EssbaseApi& api, Handle context) {
    return api.EsbListFilters(context, db.application.c_str(), db.database.c_str(), count);
  });
  for (int i = 0; status == 0 && i < count; ++i) {
    std::array<char, essbase::FilterNameWidth> name{};
    status = session.Run([&](EssbaseApi& api, Handle context) {
      return api.EsbGetNextItem(context, essbase::ItemFilterName, name);
    });
    if (status != 0) break;
    const std::string filter = FieldText(name);
    filters.Add("", "_" + filter, filter, ImageDatabase, ImageMarkedDatabase);
  }
  if (status != 0) {
    filters.Clear();
    return status;
  }
  TickAll(filters, true);
  state.listed = db;
  return 0;
}

}  // namespace desktop
