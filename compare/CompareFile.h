#pragma once
// An export file against one database: what importing the file into it
// would change, and what the database holds that the file does not.
#include <istream>
#include <string>

#include "compare/DatabaseSide.h"

namespace compare {

CompareOutcome CompareFileWithDatabase(essbase::EssbaseApi& api, const essbase::Handle& context,
                                       std::istream& file, const std::string& application,
                                       const std::string& database, const ServerRead& read,
                                       DifferenceSink& out);

}  // namespace compare
