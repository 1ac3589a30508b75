#pragma once
// Filling the server tree with the applications and databases of the server.
#include <string>

#include "desktop/NodeList.h"
#include "essbase/Session.h"

namespace desktop {

// Lists the applications, then each application's databases, into the
// (already emptied) tree. Statuses are kept in the session, never reported: a
// listing that fails adds nothing, and one that fails part-way keeps what was
// read.
void FillTree(essbase::Session& session, NodeList& tree);

}  // namespace desktop
