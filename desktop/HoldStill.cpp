#include "desktop/HoldStill.h"

#include "desktop/MenuState.h"

namespace desktop {

HoldStill::HoldStill(WindowState& state) : state_(state) {
  if (state_.holdDepth++ == 0) state_.port.HoldInput(true);
  Mouse(state_, true);
}

HoldStill::~HoldStill() {
  if (--state_.holdDepth == 0) {
    Mouse(state_, false);
    state_.port.HoldInput(false);
  }
}

}  // namespace desktop
