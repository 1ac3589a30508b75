#pragma once
// The menu items that change, the busy pointer, and the screen the
// connection procedures see.
#include "ScreenPort.h"
#include "WindowState.h"

namespace desktop {

// Sets the four filter commands and the filter list for the current mode.
void ChangeMenu(WindowState& state, bool on);
// Change and Export follow whether any database is marked; nothing else moves.
void EnableForMarks(WindowState& state, bool anyMarked);
// true: the hourglass; false: the normal pointer.
void Mouse(WindowState& state, bool on);

// The window as the connection procedures see it: its message boxes, and a
// pointer that keeps WindowState::busy true to the screen.
class WindowScreen final : public essbase::ScreenPort {
 public:
  explicit WindowScreen(WindowState& state) : state_(state) {}
  essbase::MessageAnswer ShowMessage(std::string_view text, std::string_view title,
                                     essbase::MessageIcon icon,
                                     essbase::MessageButtons buttons) override {
    return state_.port.ShowMessage(text, title, icon, buttons);
  }
  void SetBusy(bool busy) override { Mouse(state_, busy); }

 private:
  WindowState& state_;
};

}  // namespace desktop
