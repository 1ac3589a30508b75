#pragma once
// Filling the server tree with the applications and databases of the server.
#include <span>
#include <string>

#include "desktop/WindowState.h"

namespace desktop {

// The name in a fixed-width API field: up to its first NUL, at most the field.
std::string FieldText(std::span<const char> field);

// Lists the applications, then each application's databases, into the
// (already emptied) tree. Statuses are stored, never reported: a listing that
// fails adds nothing, and one that fails part-way keeps what was read.
void FillTree(WindowState& state);

}  // namespace desktop
