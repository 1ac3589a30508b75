#include "desktop/qt/OpenUrl.h"

#include <QDesktopServices>
#include <QUrl>

namespace quorvel::qt {

std::string WithScheme(const std::string& address) {
  const auto colon = address.find("://");
  const auto slash = address.find('/');
  if (colon != std::string::npos && (slash == std::string::npos || colon < slash)) return address;
  return "http://" + address;
}

bool OpenUrl(const std::string& address) {
  return QDesktopServices::openUrl(QUrl(QString::fromStdString(WithScheme(address))));
}

}  // namespace quorvel::qt
