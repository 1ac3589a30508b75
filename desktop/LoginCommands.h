#pragma once
// The Server menu: Login and Logout.
#include "desktop/WindowState.h"

namespace desktop {

void Login(WindowState& state);
void Logout(WindowState& state);

}  // namespace desktop
