#pragma once
// The demo server every fresh store starts with: server "essdemo", user
// "demo" with password "demo".
#include <string>

#include "sim/SqliteDb.h"

namespace esbsim {

const std::string& DemoDescription();

// Replaces the content inside the caller's open transaction.
bool LoadDemoServer(SqliteDb& db);

}  // namespace esbsim
