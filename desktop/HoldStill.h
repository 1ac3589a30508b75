#pragma once
// Holds the window still while a command runs: the hourglass shows and no
// user input reaches the logic, even when the command lets the window process
// its events. Released on every way out of the scope; scopes nest.
#include "desktop/WindowState.h"

namespace desktop {

class HoldStill {
 public:
  explicit HoldStill(WindowState& state);
  ~HoldStill();
  HoldStill(const HoldStill&) = delete;
  HoldStill& operator=(const HoldStill&) = delete;

 private:
  WindowState& state_;
};

}  // namespace desktop
