#pragma once
// The server description: the text form of a store's whole content, one
// TAB-separated record per line (server, user, app, db, filter, row, fault).
#include <iosfwd>
#include <string>

#include "sim/SqliteDb.h"

namespace esbsim {

class Store;

// Replaces the content inside the caller's open transaction. On a malformed
// description returns false with error "line N: why"; the caller rolls back.
bool LoadDescription(SqliteDb& db, std::istream& in, std::string& error);

// The whole replacement in one transaction: the store is either entirely
// replaced or left as it was.
bool ReplaceContent(Store& store, std::istream& in, std::string& error);

// Prints the content in the order the loader reads it back unchanged.
bool DumpDescription(SqliteDb& db, std::ostream& out, std::string& error);

}  // namespace esbsim
