#pragma once
// Deleting named filters of one database on the server.
#include <cstdint>
#include <string>
#include <vector>

#include "desktop/Selection.h"
#include "essbase/Session.h"

namespace desktop {

struct RefusedDeletion {
  std::string filter;
  int32_t status = 0;
  essbase::Failure failure;
  bool operator==(const RefusedDeletion& o) const {
    return filter == o.filter && status == o.status;
  }
};

struct DeleteOutcome {
  int deleted = 0;
  // In the order of the deletions.
  std::vector<RefusedDeletion> refused;
};

// One deletion per name, in the given order; a dropped session logs in again
// and that deletion is made once more. A refusal never stops the others.
DeleteOutcome DeleteFilters(essbase::Session& session, const SelectedDatabase& db,
                            const std::vector<std::string>& filters);

}  // namespace desktop
