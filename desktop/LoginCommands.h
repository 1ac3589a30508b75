#pragma once
// The Server menu: Login and Logout.
#include "WindowState.h"

namespace desktop {

void Login(WindowState& state);
void Logout(WindowState& state);

}  // namespace desktop
