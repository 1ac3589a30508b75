#pragma once
// The two things the connection procedures need of the screen. The desktop
// program's toolkit port implements it; essbase/ never depends on desktop/.
#include <string_view>

namespace essbase {

enum class MessageIcon { Critical, Information, Question };
enum class MessageButtons { OK, YesNo };
enum class MessageAnswer { OK, Yes, No };

class ScreenPort {
 public:
  virtual ~ScreenPort() = default;

  // Modal message box; returns the button the user chose (OK for an OK box).
  virtual MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                    MessageButtons buttons) = 0;
  // Application-wide pointer: true the hourglass, false the normal pointer.
  virtual void SetBusy(bool busy) = 0;
};

}  // namespace essbase
