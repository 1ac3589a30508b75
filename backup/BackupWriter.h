#pragma once
// Puts one backup together: the records file database by database, the
// description beside it, both placed under one free name stem.
#include <memory>
#include <string>

#include "backup/BackupInfo.h"
#include "backup/PendingFile.h"
#include "backup/TakeBackup.h"
#include "filterfile/RecordWriter.h"

namespace backup {

class BackupWriter {
 public:
  BackupWriter(const Request& request, const Place& place);

  // Makes the folder and the temporary files; false: outcome() says why.
  bool Open();
  // The records, in Latin-1 until a text needs the file in UTF-8.
  filterfile::RecordWriter& records() { return *writer_; }

  void BeginDatabase(const std::string& application, const std::string& database);
  void EndDatabase();
  void AddFilter(SavedFilter filter) { info_.filters.push_back(std::move(filter)); }
  void AddCreated(CreatedName name) { info_.created.push_back(std::move(name)); }

  // The outcome of a read that failed.
  BackupOutcome ServerFailed(const essbase::Failure& failure);
  BackupOutcome WriteFailed();
  // Finishes both files and places them; prunes old backups after a success.
  BackupOutcome Commit();
  const BackupOutcome& outcome() const { return outcome_; }

 private:
  BackupOutcome Failed(BackupResult result, int error);

  const Request& request_;
  Place place_;
  BackupInfo info_;
  bool Widen();

  PendingFile records_;
  std::unique_ptr<filterfile::RecordWriter> writer_;
  PendingFile description_;
  BackupOutcome outcome_;
};

}  // namespace backup
