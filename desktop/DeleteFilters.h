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
  bool operator==(const RefusedDeletion&) const = default;
};

struct DeleteOutcome {
  int deleted = 0;
  // In the order of the deletions.
  std::vector<RefusedDeletion> refused;
};

// One EsbDeleteFilter per name, in the given order; ReloginStatus logs in
// again and repeats that deletion once. A refusal never stops the others.
DeleteOutcome DeleteFilters(essbase::Session& session, const SelectedDatabase& db,
                            const std::vector<std::string>& filters);

}  // namespace desktop
