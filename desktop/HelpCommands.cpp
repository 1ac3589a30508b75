#include "desktop/HelpCommands.h"

#include "desktop/Messages.h"

#ifndef QUORVEL_VERSION_MAJOR
#error "the build passes QUORVEL_VERSION_MAJOR, _MINOR and _REVISION"
#endif

namespace desktop {

std::string RunningVersion() {
  return std::to_string(QUORVEL_VERSION_MAJOR) + "." + std::to_string(QUORVEL_VERSION_MINOR) + "." +
         std::to_string(QUORVEL_VERSION_REVISION);
}

void About(ToolkitPort& port, const backup::Place& backups) {
  port.ShowAbout(msg::AboutBackups(backups.folder, backups.keepDays));
}

void OpenHomePage(ToolkitPort& port) {
  port.OpenUrl(std::string(msg::SiteHost) + std::string(msg::HomePagePath));
}

void CheckVersion(ToolkitPort& port) {
  const std::optional<std::string> published = port.HttpGet(msg::VersionFileUrl);
  if (!published) {
    port.ShowMessage(msg::VersionUnknown(), msg::DefaultTitle, MessageIcon::Information,
                     MessageButtons::OK);
    return;
  }
  // Equality only: an older published version also counts as different.
  const std::string text =
      *published == RunningVersion() ? msg::VersionCurrent() : msg::NewerVersion();
  port.ShowMessage(text, msg::UpdateTitle, MessageIcon::Information, MessageButtons::OK);
}

}  // namespace desktop
