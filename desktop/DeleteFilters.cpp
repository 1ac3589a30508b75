#include "desktop/DeleteFilters.h"

namespace desktop {

DeleteOutcome DeleteFilters(essbase::Session& session, const SelectedDatabase& db,
                            const std::vector<std::string>& filters) {
  DeleteOutcome outcome;
  for (const std::string& filter : filters) {
    const int32_t status =
        session.RunWithRelogin([&](essbase::EssbaseApi& api, essbase::Handle context) {
          return api.EsbDeleteFilter(context, db.application.c_str(), db.database.c_str(),
                                     filter.c_str());
        });
    if (status == 0)
      ++outcome.deleted;
    else
      outcome.refused.push_back({filter, status});
  }
  return outcome;
}

}  // namespace desktop
