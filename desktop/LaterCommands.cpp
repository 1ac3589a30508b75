#include "desktop/LaterCommands.h"

#include "desktop/Messages.h"

namespace desktop {

void NotAvailable(WindowState& state) {
  state.port.ShowMessage(msg::NotAvailable, msg::DefaultTitle, MessageIcon::Information,
                         MessageButtons::OK);
}

}  // namespace desktop
