#pragma once
// An export file against one database: what importing the file into it
// would change, and what the database holds that the file does not.
#include <istream>
#include <string>

#include "compare/DatabaseSide.h"

namespace compare {

CompareOutcome CompareFileWithDatabase(essbase::Server& server, std::istream& file,
                                       const essbase::Database& db, const ServerRead& read,
                                       DifferenceSink& out);

}  // namespace compare
