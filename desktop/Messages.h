#pragma once
// Every text the desktop program shows, in one place, byte for byte.
#include <array>
#include <cstdint>
#include <cstdio>
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

// The file dialogs of the filter commands and the selection lists.
inline constexpr std::string_view TextFileExtension = ".txt";
inline constexpr std::string_view TextFileTypes = "Text (*.txt)|*.txt|All Files (*.*)|*.*";

// After a failure's text, what the server said of it (only a server reached
// over its REST API says more than the status).
inline std::string ServerSaid(std::string_view said) {
  return "\n\nThe server said: " + std::string(said);
}
// After a failure's text, the client's own words for what went wrong (a
// server that did not answer, an answer it could not use, a name the client
// library cannot carry).
inline std::string FailureDetail(std::string_view detail) {
  return "\n\nWhat went wrong: " + std::string(detail);
}

// Delete and Import work on the tree's selected database.
inline constexpr std::string_view NoDatabaseSelected =
    "Please select a database in the tree first: this command works on the selected database.";
// A command of single-database mode found the filter list showing another
// database than the one selected in the tree, and filled it anew.
inline std::string ListWasOfAnotherDatabase(std::string_view listed, std::string_view selected) {
  return "The filter list showed the filters of " + std::string(listed) + ", not those of " +
         std::string(selected) + ", the database selected in the tree. It now shows those of " +
         std::string(selected) + ": check which filters are ticked, then choose the command again.";
}
inline std::string ListWasOfNoDatabase(std::string_view selected) {
  return "The filter list did not show the filters of " + std::string(selected) +
         ", the database selected in the tree. It now does: check which filters are ticked, then "
         "choose the command again.";
}
// The filter list could not be shown again after Delete or Import.
inline std::string FiltersNotListed(int32_t status) {
  return FilterListFailed(status) + "  No filters have been changed.";
}

// Delete.
inline constexpr std::string_view DeleteQuestion =
    "Are you sure you want to delete the selected filters?";
inline constexpr std::string_view DeleteListingCaption = "An error occured.  No changes were made.";
inline std::string FiltersDeletedCount(int deleted) {
  return std::to_string(deleted) + (deleted == 1 ? " filter was" : " filters were") + " deleted";
}
// The listing failed after some deletions went through: saying that nothing
// changed would be false.
inline std::string DeletedBeforeListingFailed(int32_t status, int deleted) {
  return FilterListFailed(status) + "  " + FiltersDeletedCount(deleted) +
         " before the filters could be listed again.";
}
inline std::string DeletedBeforeListingFailedCaption(int deleted) {
  return "An error occured.  " + FiltersDeletedCount(deleted) + ".";
}
inline constexpr std::string_view DeleteRefusedStart =
    "The server refused to delete these filters; they are still in the database:";
// One line per refused filter, after a line end.
inline std::string DeleteRefusedLine(std::string_view filter, int32_t status) {
  return "\n" + std::string(filter) + " (error " + std::to_string(status) + ")";
}
// What the server said of one filter, after its line.
inline std::string SaidOfOne(std::string_view said) {
  return said.empty() ? std::string() : ": " + std::string(said);
}
inline std::string DeleteRefusedMore(size_t more) {
  return "\n... and " + std::to_string(more) + " more.";
}

// Export.
inline constexpr std::string_view ExportDialogTitle = "Export filters";
inline constexpr std::string_view ExportDatabaseFailed =
    "An error has occured accessing the filters.  No filters have been changed.";
inline constexpr std::string_view ExportFailed =
    "Your export had errors.  Please retry the export.";
inline std::string ExportFileNotOpened(std::string_view path, std::string_view reason) {
  return "The export file " + std::string(path) + " could not be opened: " + std::string(reason);
}
inline std::string ExportFileNotWritten(std::string_view path, std::string_view reason) {
  return "The export file " + std::string(path) + " could not be written: " + std::string(reason);
}

// Import.
inline constexpr std::string_view ImportDialogTitle = "Import filters";
inline constexpr std::string_view ImportFailed =
    "Your import had errors.  Please retry the import.";
inline std::string LinesPassedOver(uint64_t count, uint64_t firstLine) {
  if (count == 1)
    return "  Line " + std::to_string(firstLine) +
           " of the file is not a filter row and was passed over.";
  return "  " + std::to_string(count) +
         " lines of the file are not filter rows and were passed over; the first is line " +
         std::to_string(firstLine) + ".";
}
// The import stopped at a line longer than any record.
// A write whose answer never came: the server may hold the new definition.
inline std::string ImportMayHaveBeenWritten(uint64_t filters) {
  return "\n\n" + std::to_string(filters) +
         (filters == 1 ? " filter may or may not have been written: its answer never came."
                       : " filters may or may not have been written: their answers never came.");
}
// The server stopped answering: the rest of the file was not sent.
inline std::string ImportNotSent(uint64_t filters) {
  return "\n\n" + std::to_string(filters) +
         (filters == 1 ? " filter was not imported: the server stopped answering."
                       : " filters were not imported: the server stopped answering.");
}
inline std::string ImportStoppedAtLongLine(uint64_t line) {
  return "  Line " + std::to_string(line) +
         " of the file is longer than any filter row can be; the file was read no further.";
}
inline std::string ImportListingCaption(int32_t status) {
  return "An error (" + std::to_string(status) + ") occured.  No changes were made.";
}
// The listing failed after the import wrote filters: saying that nothing
// changed would be false.
inline std::string FiltersImportedCount(uint64_t imported) {
  return std::to_string(imported) + (imported == 1 ? " filter was" : " filters were") + " imported";
}
inline std::string ImportedBeforeListingFailed(int32_t status, uint64_t imported) {
  return FilterListFailed(status) + "  " + FiltersImportedCount(imported) +
         " before the filters could be listed again.";
}
inline std::string ImportedBeforeListingFailedCaption(int32_t status, uint64_t imported) {
  return "An error (" + std::to_string(status) + ") occured.  " + FiltersImportedCount(imported) +
         ".";
}

// Selection list files.
inline constexpr std::string_view SelectionDialogTitle = "Export Selected Filters";
inline constexpr std::string_view SelectionsSaved = "Your selections were saved.";
inline std::string SelectionFileNotWritten(std::string_view path, std::string_view reason) {
  return "The selection list file " + std::string(path) +
         " could not be written: " + std::string(reason);
}
inline constexpr std::string_view SelectionLineTooLong =
    "it holds a line far longer than any filter name, so it is no selection list";
inline std::string SelectionFileNotRead(std::string_view path, std::string_view reason) {
  return "The selection list file " + std::string(path) +
         " could not be read: " + std::string(reason) + "  The selections were not changed.";
}

// Backups before Change, Delete, Import and Restore.
inline std::string BackupFailed(std::string_view reason) {
  return "No backup of the filters could be made, so nothing was changed: " + std::string(reason) +
         ".";
}
inline std::string AboutBackups(std::string_view folder, int keepDays) {
  if (folder.empty())
    return "No folder for backups: neither XDG_STATE_HOME nor HOME is set, so Change Access, "
           "Delete, Import and Restore cannot write.";
  std::string text =
      "Before Change Access, Delete, Import and Restore write, the filters they will rewrite or "
      "delete are saved in\n" +
      std::string(folder) + "\nFilter > Restore from Backup puts them back.  ";
  if (keepDays == 0)
    return text + "Backups are kept until you delete them (QUORVEL_BACKUP_DAYS=0).";
  return text + "Backups older than " + std::to_string(keepDays) +
         " days are deleted (QUORVEL_BACKUP_DAYS).";
}

// Restore from a backup.
inline constexpr std::string_view RestoreDialogTitle = "Restore from Backup";
inline constexpr std::string_view BackupFileExtension = ".info";
inline constexpr std::string_view BackupFileTypes =
    "Quorvel backups (*.info)|*.info|All Files (*.*)|*.*";
inline std::string BackupNotLoaded(std::string_view path, std::string_view reason) {
  return "The backup " + std::string(path) + " cannot be restored: " + std::string(reason) +
         ".  Nothing was changed.";
}
inline std::string BackupOfOtherServer(std::string_view server) {
  return "This backup was taken on the server " + std::string(server) +
         ", not on the server you are logged in to.  Nothing was changed.";
}
inline std::string RestoreSummaryStart(std::string_view command, std::string_view server,
                                       std::string_view time) {
  return "This backup was saved before " + std::string(command) + " on the server " +
         std::string(server) + " at " + std::string(time) + ".";
}
inline std::string RestorePutsBack(size_t filters) {
  return "\n\nIt puts back " + std::to_string(filters) + (filters == 1 ? " filter:" : " filters:");
}
inline std::string RestoreDeletes(size_t filters, std::string_view command) {
  return "\n\nIt deletes " + std::to_string(filters) + (filters == 1 ? " filter " : " filters ") +
         std::string(command) + " created:";
}
// Names beyond the ones a message box can show.
inline std::string RestoreMoreNames(size_t more) {
  return "\n... and " + std::to_string(more) + " more.";
}
inline constexpr std::string_view RestoreQuestion =
    "\n\nDo you want to put these filters back as they were?";
inline std::string Restored(int restored, int deleted) {
  std::string text = "The backup has been restored: " + std::to_string(restored) +
                     (restored == 1 ? " filter put back" : " filters put back");
  if (deleted > 0)
    text += ", " + std::to_string(deleted) +
            (deleted == 1 ? " created filter deleted" : " created filters deleted");
  return text + ".";
}
inline constexpr std::string_view RestoreFailedStart =
    "Not every filter could be restored; every other one was:";
// One line per failure, after a line end.
inline std::string RestoreFailedLine(std::string_view where, bool created,
                                     std::string_view operation, int32_t status) {
  std::string line = "\n" + std::string(where) + (created ? " (to be deleted): " : ": ");
  if (operation == "read") return line + "the backup could not be read";
  return line + std::string(operation) + " returned " + std::to_string(status);
}
inline constexpr std::string_view ImportFileUnreadable =
    "the import file could not be read to its end";
inline std::string ImportLineTooLong(uint64_t line) {
  return "line " + std::to_string(line) +
         " of the import file is longer than any filter row can be, so it is no export file";
}

// Compare with File, and what a restore would change (the Backups window).
inline constexpr std::string_view CompareDialogTitle = "Compare with File";
inline constexpr std::array<std::string_view, 5> CompareColumns = {"Filter", "Difference", "Row",
                                                                   "Access Now", "In the File"};
inline constexpr std::array<std::string_view, 6> RestoreChangeColumns = {
    "Database", "Filter", "Difference", "Row", "Access Now", "After Restore"};
inline constexpr std::string_view DiffSame = "the same";
inline constexpr std::string_view DiffCreated = "would be created";
inline std::string RowCount(uint64_t rows) {
  return std::to_string(rows) + (rows == 1 ? " row" : " rows");
}
inline constexpr std::string_view DiffDeleted = "would be deleted";
inline constexpr std::string_view DiffOnlyOnServer = "only on the server; an import leaves it";
inline constexpr std::string_view DiffUnreadable = "lost a line of the file; left as it is";
inline constexpr std::string_view DiffLaterLost =
    "a later definition lost a line of the file; this one stands";
inline constexpr std::string_view DiffRowAdded = "row added";
inline constexpr std::string_view DiffRowRemoved = "row removed";
inline constexpr std::string_view DiffRowAccess = "row access changed";
inline constexpr std::string_view DiffActive = "active flag changed";
inline constexpr std::string_view DiffFilterAccess = "filter access changed";
// "3 filters would change, 2 would be created, 14 are the same", and the
// other counts where they are not 0.
inline std::string ComparisonCounts(uint64_t changed, uint64_t created, uint64_t deleted,
                                    uint64_t onlyOnServer, uint64_t unreadable, uint64_t same) {
  std::string text = std::to_string(changed) + (changed == 1 ? " filter" : " filters") +
                     " would change, " + std::to_string(created) + " would be created";
  if (deleted > 0) text += ", " + std::to_string(deleted) + " would be deleted";
  text += ", " + std::to_string(same) + (same == 1 ? " is" : " are") + " the same";
  if (onlyOnServer > 0)
    text += ", " + std::to_string(onlyOnServer) + (onlyOnServer == 1 ? " is" : " are") +
            " only on the server";
  if (unreadable > 0) text += ", " + std::to_string(unreadable) + " lost a line of the file";
  return text;
}
inline std::string CompareSummary(std::string_view database, std::string_view file,
                                  std::string_view counts) {
  return std::string(database) + " against " + std::string(file) + ": " + std::string(counts) +
         ".  Nothing has been written.";
}
inline std::string RestoreChangeSummary(std::string_view counts) {
  return "Restoring this backup now: " + std::string(counts) + ".";
}
inline std::string CompareFileNotOpened(std::string_view path, std::string_view reason) {
  return "The file " + std::string(path) + " could not be opened: " + std::string(reason);
}
inline std::string CompareFileNotRead(std::string_view path) {
  return "The file " + std::string(path) + " could not be read to its end.  Nothing was compared.";
}
inline std::string CompareReadFailed(int32_t status) {
  return FilterListFailed(status) + "  Nothing was compared.";
}
inline std::string CompareNoTemporaryFile(std::string_view reason) {
  return "The comparison could not keep the rows in a temporary file: " + std::string(reason);
}
inline constexpr std::string_view ShowOnlyDifferences = "Show only &differences";
inline constexpr std::string_view ComparisonClose = "Close";

// The Backups window.
inline constexpr std::string_view BackupsTitle = "Backups";
inline std::string BackupsFolderLabel(std::string_view folder) {
  return "&Backups in " + std::string(folder) + ", newest first:";
}
inline constexpr std::array<std::string_view, 7> BackupsColumns = {
    "When", "Command", "Server", "Databases", "Filters", "Problem", "File"};
inline constexpr std::string_view RestoreChangesLabel =
    "&What restoring the selected backup would change on the server now:";
inline constexpr std::string_view BackupsRestore = "&Restore";
inline constexpr std::string_view BackupsOpenFolder = "&Open Folder";
inline constexpr std::string_view BackupsOther = "Restore O&ther Backup...";
inline constexpr std::string_view BackupsClose = "Close";
inline std::string BackupCannotBeRead(std::string_view reason) {
  return "This backup cannot be read: " + std::string(reason) + ".";
}
inline std::string BackupNotOfThisServer(std::string_view server) {
  return "This backup was taken on the server " + std::string(server) +
         ", not on the server you are logged in to: a restore here refuses it.";
}

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

// Change Access.
inline std::string SearchTextNotHeld(char32_t character, int position) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
  return "The search text holds a character that the server's 8-bit text cannot hold: " +
         std::string(code) + ", character " + std::to_string(position) +
         ". No row can contain it, so nothing would match. Please remove it and try again.";
}
inline constexpr std::string_view ChangeQuestion = "Are you sure you want to change these filters?";
inline constexpr std::string_view NoSuchDatabase =
    "The application or database does not exist or is not accepting commands.  Please check your "
    "information and try again.";
inline constexpr std::string_view NoFiltersChanged = "No filters have been changed.";
inline std::string ChangeReadFailed(int32_t status) {
  return FilterListFailed(status) + "  " + std::string(NoFiltersChanged);
}
inline std::string ChangeLaterRowFailed() {
  return "An error has occured accessing the filters.  " + std::string(NoFiltersChanged);
}
inline constexpr std::string_view NoFiltersInDatabase = "There are no filters in this database.";
inline constexpr std::string_view NoFiltersToChange = "There are no filters to be changed.";
inline constexpr std::string_view NoFiltersSelected = "No filters were selected.";
inline std::string FiltersChanged(int count) {
  return std::to_string(count) + " filters have been changed!";
}
inline std::string ChangeWriteFailed() {
  return std::string("An error has occured CHANGING the filters. ") +
         "SOME filters may have been changed while others may have been destroyed.  " +
         "Please verify that the server is running and " +
         "retry updating the filters.  If you select cancel, some of your " +
         "filters may be deleted.";
}
inline constexpr std::string_view StillCannotLogin =
    "You still cannot login.  Do you want to try again?";
// A run that ends before writing because its copy could not be made whole.
inline std::string ChangeTooManyRows(int maxRows) {
  return "The filters chosen hold more than " + std::to_string(maxRows) +
         " rows in all, more than one change can copy before it writes.  Choose fewer filters "
         "or databases.  " +
         std::string(NoFiltersChanged);
}
inline std::string ChangeTooManyApplications(int maxApplications) {
  return "The databases marked belong to more than " + std::to_string(maxApplications) +
         " applications that are not loaded, more than one change can unload again.  Mark fewer "
         "databases.  " +
         std::string(NoFiltersChanged);
}
inline std::string ChangeReadFailedUnexpectedly(std::string_view description) {
  return "Reading the filters failed (" + std::string(description) + ").  " +
         std::string(NoFiltersChanged);
}
// Where a run is, in the main window.
inline std::string ProgressReading(int filters, int total) {
  return "Reading filters: " + std::to_string(filters) + " of " + std::to_string(total);
}
inline std::string ProgressReadingMarked(int filters, int database, int databases) {
  return "Reading filters: " + std::to_string(filters) + " read, database " +
         std::to_string(database) + " of " + std::to_string(databases);
}
inline std::string ProgressWriting(int filter, int total) {
  return "Writing filters: " + std::to_string(filter) + " of " + std::to_string(total);
}
// Preview of a change.
inline constexpr std::string_view PreviewTitle = "Change Filter Preview";
inline constexpr std::array<std::string_view, 6> PreviewColumns = {
    "Application", "Database", "Filter", "Row", "Access Now", "Access After"};
inline std::string PreviewSummary(int filters, int rows) {
  return std::to_string(rows) + " rows match; " + std::to_string(filters) +
         " filters would be changed.  Nothing has been written.";
}
inline constexpr std::string_view PreviewClose = "Close";

// Menus (Ctrl + the letter in the comment).
inline constexpr std::string_view mnuUser = "&Server";
inline constexpr std::string_view mnuLogin = "&Login";    // L
inline constexpr std::string_view mnuLogout = "L&ogout";  // O
inline constexpr std::string_view mnuFilter = "&Filter";
inline constexpr std::string_view mnuExport = "&Export";  // E
inline constexpr std::string_view mnuImport = "&Import";  // I
inline constexpr std::string_view mnuDelete = "&Delete";
inline constexpr std::string_view mnuChange = "&Change Access";  // C
inline constexpr std::string_view mnuRestore = "Restore from &Backup...";
inline constexpr std::string_view mnuCompare = "Compare with &File...";
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
