// Writes the program's icon as PNG files for the desktop's icon theme:
//   quorvel-icon-export FOLDER SIZE...  ->  FOLDER/SIZExSIZE/apps/quorvel.png
#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "desktop/qt/AppIcon.h"

int main(int argc, char* argv[]) {
  // Runs during the build, where no display is at hand.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FOLDER SIZE...\n", argv[0]);
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    const QString folder = QString("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
    if (size <= 0 || !QDir().mkpath(folder) ||
        !quorvel::qt::DrawAppIcon(size).save(folder + "/quorvel.png", "PNG")) {
      std::fprintf(stderr, "%s: cannot write the %s-pixel icon into %s\n", argv[0], argv[i],
                   argv[1]);
      return 1;
    }
  }
  return 0;
}
