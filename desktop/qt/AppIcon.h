#pragma once
// The program's own icon: a funnel that lets some rows of a database through.
// The window uses it, and the build writes it out for the desktop's icon theme.
#include <QIcon>
#include <QImage>

namespace quorvel::qt {

// The icon at size x size pixels, on a transparent ground.
QImage DrawAppIcon(int size);

// Every size the icon theme holds, for the window and the task bar.
QIcon AppIcon();

}  // namespace quorvel::qt
