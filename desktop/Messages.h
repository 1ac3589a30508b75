#pragma once
// Every text the desktop program shows, in one place, byte for byte.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace desktop::msg {

inline constexpr std::string_view ProductName = "Quorvel";
inline constexpr std::string_view WindowCaption = "Quorvel";
// Title of a message box without a title of its own.
inline constexpr std::string_view DefaultTitle = ProductName;

// Login and Reconnect.
inline constexpr std::string_view LoginFailed = "An error occured and you are not logged in.";
inline constexpr std::string_view LoginFailedTitle = "Vuzuvaz Orezez";

// Listing the filters of a database.
inline std::string FilterListFailed(int32_t status) {
  return "An error (" + std::to_string(status) + ") has occured accessing the filters.";
}

// Help menu. The site's host name, also shown to the user.
inline constexpr std::string_view SiteHost = "www.quorvel.example";
inline constexpr std::string_view HomePagePath = "/quorvel";
inline constexpr std::string_view VersionFileUrl = "http://www.quorvel.example/quorvel/version.txt";
inline constexpr std::string_view UpdateTitle = "Update Available";
inline std::string NewerVersion() {
  return "A more recent version of " + std::string(ProductName) + " is available.  Please visit " +
         std::string(SiteHost) + " for more details.";
}
inline std::string VersionCurrent() {
  return "The version of " + std::string(ProductName) +
         " is current.  There are no updates available.";
}
inline std::string VersionUnknown() {
  return "The version check could not reach " + std::string(SiteHost) +
         ".  No version information came back; please check your connection and try again "
         "later.";
}

// Commands that arrive in a later version.
inline constexpr std::string_view NotAvailable =
    "This command is not available in this version of Quorvel.";

// Backups before Change, Delete and Import.
inline constexpr std::string_view BackupFailed =
    "No backup of the filters could be made, so nothing was changed: ";
inline constexpr std::string_view ImportFileUnreadable =
    "the import file could not be read to its end";

// Controls.
inline constexpr std::string_view chkAllCaption =
    "Perform Operation on all filters in selected databases";
inline constexpr std::string_view Label1Caption = "Db / App";
inline constexpr std::string_view Label2Caption = "Filters";
inline constexpr std::string_view AboutCaption = "About Quorvel";

// The Change dialog.
inline constexpr std::string_view ChangeDialogTitle = "Change Filter";
inline constexpr std::string_view SearchLabel = "&Search For:";
inline constexpr std::string_view AccessLabel = "&Change Access To:";
inline constexpr std::array<std::string_view, 3> AccessNames = {"None", "Read", "Write"};
inline constexpr std::string_view ContinueCaption = "Continue";
inline constexpr std::string_view PreviewCaption = "&Preview";
inline constexpr std::string_view CancelCaption = "Cancel";
inline constexpr std::string_view AboutClose = "Close";

// Menus (Ctrl + the letter in the comment).
inline constexpr std::string_view mnuUser = "&Server";
inline constexpr std::string_view mnuLogin = "&Login";    // L
inline constexpr std::string_view mnuLogout = "L&ogout";  // O
inline constexpr std::string_view mnuFilter = "&Filter";
inline constexpr std::string_view mnuExport = "&Export";  // E
inline constexpr std::string_view mnuImport = "&Import";  // I
inline constexpr std::string_view mnuDelete = "&Delete";
inline constexpr std::string_view mnuChange = "&Change Access";  // C
inline constexpr std::string_view mnuOther = "Other";
inline constexpr std::string_view mnuSelectAll = "Select All";    // A
inline constexpr std::string_view mnuDeselect = "De-Select All";  // D
inline constexpr std::string_view mnuOtherExport = "Export Selections List to File";
inline constexpr std::string_view mnuOtherImport = "Make Selections from Save List";
inline constexpr std::string_view mnuHelp = "&Help";
inline constexpr std::string_view mnuQuorvelHome = "&Quorvel Home Page";
inline constexpr std::string_view mnuAbout = "About";
inline constexpr std::string_view mnuHelpVersionCheck = "Is Your Quorvel Version Current?";
inline constexpr std::string_view Separator = "-";

}  // namespace desktop::msg
