#pragma once
// The kinds of store file, told by SQLite's user_version: earlier versions
// held the client library's Latin-1 bytes; the store now holds UTF-8.
#include <cstdint>

#include "sim/SqliteDb.h"

namespace esbsim {

constexpr int64_t Latin1Store = 1;
constexpr int64_t Utf8Store = 2;

// Turns a Latin-1 store into a UTF-8 one (every text converted, user_version
// set), inside the caller's write transaction.
bool ConvertLatin1Store(SqliteDb& db);

}  // namespace esbsim
