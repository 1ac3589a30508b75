#pragma once
// Every text QuorvelCL writes to its run log, in one place.
#include <cstdint>
#include <string>
#include <string_view>

namespace cli::msg {

constexpr std::string_view ProcessStarting = "//Process starting at ";
// Follows a failure's line when the server said more than its status.
constexpr std::string_view ServerSaid = "The server said: ";
// Follows a failure's line with the client's own words for what went wrong.
constexpr std::string_view WhatWentWrong = "What went wrong: ";
constexpr std::string_view CommandLinePrefix = "//";
constexpr std::string_view PasswordMask = "********";

constexpr std::string_view NoServer = "A Server parameter must be identified (-s server name).";
constexpr std::string_view NoDatabase = "A Database parameter must be identified (-d database).";
constexpr std::string_view NoApplication =
    "An Application parameter must be identified (-a application).";
constexpr std::string_view NoUserName =
    "An Essbase UserName parameter must be identified (-i UserName).";
constexpr std::string_view NoFile =
    "An Export/Import file location parameter must be identified (-f file name/location).";
constexpr std::string_view NoPassword =
    "An Essbase Password parameter must be identified (-p password).";
constexpr std::string_view NoOperation =
    "An Export or Import parameter must be identified (export or import).";

constexpr std::string_view InitFailed = "The Essbase API could not be initiated.";
constexpr std::string_view LoginFailed = "A successfull login did not occur. Error:  ";

constexpr std::string_view ExportFailed =
    "An error has occured accessing the filters.  No filters have been changed.";
constexpr std::string_view ImportFailed = "An error occured importing filters.";

constexpr std::string_view ExportFileNotCreated = "The export file could not be created: ";
constexpr std::string_view ExportFileNotWritten = "The export file could not be written: ";
constexpr std::string_view ImportFileNotOpened = "The import file could not be opened: ";
constexpr std::string_view ImportFileNotRead = "The import file could not be read to its end: ";
constexpr std::string_view ImportStopped = "The import stopped: ";
constexpr std::string_view LinePassedOverStart = "Line ";
constexpr std::string_view LinePassedOverEnd =
    " of the import file is not a filter row record and was passed over.";
// Preceded by the number of passed-over lines that were not logged one by one.
constexpr std::string_view MoreLinesPassedOver =
    " more lines of the import file were not filter row records and were passed over.";
constexpr std::string_view FilterLeftUnchangedStart = "The filter ";
constexpr std::string_view FilterLeftUnchangedEnd =
    " was left unchanged: not every one of its rows could be imported.";
constexpr std::string_view FilterMayBeWrittenEnd =
    " may or may not have been imported: the answer to its write never came.";
// "1,204 filters were not imported: the server at URL did not answer in 120 s"
inline std::string FiltersNotSent(uint64_t filters, std::string_view why) {
  return std::to_string(filters) +
         (filters == 1 ? " filter was not imported: " : " filters were not imported: ") +
         std::string(why);
}

// Backups (before an import, and before a restore) and the restore.
constexpr std::string_view NoBackupBeforeImport =
    "No backup could be made before the import, so nothing was imported: ";
constexpr std::string_view NoBackupBeforeRestore =
    "No backup could be made before the restore, so nothing was restored: ";
constexpr std::string_view ImportFileUnreadable = "the import file could not be read to its end";
inline std::string ImportLineTooLong(uint64_t line) {
  return "line " + std::to_string(line) +
         " of the import file is longer than any filter row can be, so it is no export file";
}
constexpr std::string_view BackupNotRestored = "The backup could not be restored: ";
constexpr std::string_view BackupOfOtherServer = "The backup was taken on the server ";
constexpr std::string_view BackupOfOtherServerEnd =
    ", not on the server of this run; nothing was restored.";
constexpr std::string_view FilterNotRestored = "The filter could not be restored: ";
constexpr std::string_view CreatedNotDeleted =
    "The filter the backed-up command created could not be deleted: ";
constexpr std::string_view CallReturned = " returned ";
constexpr std::string_view BackupUnreadable = "the backup could not be read";
constexpr std::string_view RestoreSummaryStart = "Restore from ";
constexpr std::string_view RestoreSummaryRestored = ": filters put back ";
constexpr std::string_view RestoreSummaryDeleted = ", created filters deleted ";
constexpr std::string_view RestoreSummaryFailed = ", failed ";

// -t diff: what an import of the file, or a restore of the backup, would
// change, one line per filter that differs, then the summary.
constexpr std::string_view DiffFileNotOpened = "The file to compare could not be opened: ";
constexpr std::string_view DiffFileNotRead = "The file to compare could not be read to its end: ";
inline std::string DiffServerFailed(int32_t status) {
  return "An error (" + std::to_string(status) +
         ") has occured accessing the filters.  The comparison is not complete.";
}
constexpr std::string_view DiffNoTemporaryFile =
    "The comparison could not keep the file's rows in a temporary file: ";
constexpr std::string_view BackupNotCompared = "The backup could not be compared: ";
constexpr std::string_view DiffOtherServerEnd =
    ", not on the server of this run; nothing was compared.";
constexpr std::string_view DiffFilter = "The filter ";
constexpr std::string_view DiffCreated = " would be created, rows ";
constexpr std::string_view DiffReplaced = " would be replaced: ";
constexpr std::string_view DiffDeleted = " would be deleted.";
constexpr std::string_view DiffOnlyOnServer =
    " is only on the server (an import leaves it as it is).";
constexpr std::string_view DiffUnreadable =
    " lost a line of the file; an import would leave it as it is.";
constexpr std::string_view DiffRowsAdded = "rows added ";
constexpr std::string_view DiffRowsRemoved = "rows removed ";
constexpr std::string_view DiffRowsAccess = "rows with another access ";
constexpr std::string_view DiffActive = "active ";
constexpr std::string_view DiffAccess = "access ";
constexpr std::string_view DiffArrow = " -> ";
constexpr std::string_view DiffPartSeparator = ", ";
constexpr std::string_view DiffLineEnd = ".";
constexpr std::string_view DiffSummaryStart = "Compare with ";
constexpr std::string_view DiffSummaryReplaced = ": would be replaced ";
constexpr std::string_view DiffSummaryCreated = ", would be created ";
constexpr std::string_view DiffSummaryDeleted = ", would be deleted ";
constexpr std::string_view DiffSummaryOnlyOnServer = ", only on the server ";
constexpr std::string_view DiffSummaryUnreadable = ", not read whole ";
constexpr std::string_view DiffSummarySame = ", the same ";

}  // namespace cli::msg
