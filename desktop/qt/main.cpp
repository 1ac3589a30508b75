// The desktop program. Built twice from this one source: the generation comes
// from QUORVEL_API_GENERATION at build time.
#include <QApplication>
#include <memory>

#include "desktop/frmQuorvel.h"
#include "desktop/qt/AppIcon.h"
#include "desktop/qt/QuorvelWindow.h"
#include "essbase/Generation.h"
#include "essbase/library/LibraryApi.h"
#include "essbase/rest/RestServer.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorvel");
  QApplication::setWindowIcon(quorvel::qt::AppIcon());
  // Lets a Wayland desktop match the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("quorvel%1").arg(QUORVEL_API_GENERATION));
  // A library that cannot be loaded still opens the window: Login reports it,
  // and a server given as a URL is reached over its REST API all the same.
  essbase::LibraryApi library("libesbapin.so");
  if (!library.loaded())
    qWarning("Quorvel: the Essbase client library is not available: %s",
             library.loadError().c_str());
  // The view is the logic's port; the logic is the view's handler.
  quorvel::qt::QuorvelWindow window(essbase::BuildGeneration);
  desktop::frmQuorvel logic(library, window, essbase::BuildGeneration,
                            backup::PlaceFromEnvironment(),
                            [] { return std::make_unique<essbase::rest::RestServer>(); });
  window.Attach(logic);
  window.show();
  return QApplication::exec();
}
