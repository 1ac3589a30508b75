#include "backup/BackupWriter.h"

#include <cerrno>

#include "backup/BackupName.h"
#include "backup/Prune.h"

namespace backup {

namespace {

// Enough for a burst of runs in one second; a folder that takes more is
// reported instead of searched forever.
constexpr int MaxAttempts = 1000;

}  // namespace

BackupWriter::BackupWriter(const Request& request, const Place& place)
    : request_(request), place_(place) {
  static const SystemClock systemClock;
  if (!place_.clock) place_.clock = &systemClock;
  info_.command = request.command;
  info_.server = request.server;
}

BackupOutcome BackupWriter::Failed(BackupResult result, int error) {
  outcome_.result = result;
  outcome_.reason = (result == BackupResult::FolderUnavailable
                         ? "the folder " + place_.folder + " cannot be used: "
                         : std::string()) +
                    ErrorText(error);
  return outcome_;
}

bool BackupWriter::Open() {
  if (place_.folder.empty()) {
    outcome_.result = BackupResult::FolderUnavailable;
    outcome_.reason = "no backups folder is known (HOME is not set)";
    return false;
  }
  if (int error = MakeFolder(place_.folder))
    return (Failed(BackupResult::FolderUnavailable, error), false);
  if (!records_.Open(place_.folder))
    return (Failed(BackupResult::FolderUnavailable, records_.error()), false);
  writer_ = std::make_unique<filterfile::RecordWriter>(records_.stream());
  writer_->widen = [this] { return Widen(); };
  if (!description_.Open(place_.folder))
    return (Failed(BackupResult::FolderUnavailable, description_.error()), false);
  return true;
}

void BackupWriter::BeginDatabase(const std::string& application, const std::string& database) {
  info_.databases.push_back({application, database, records_.handedOver(), 0});
}

bool BackupWriter::Widen() {
  // The ranges name bytes of the records: they move with their text.
  std::vector<uint64_t> offsets;
  for (const DatabaseRange& d : info_.databases) {
    offsets.push_back(d.offset);
    offsets.push_back(d.offset + d.length);
  }
  if (!records_.WidenToUtf8(offsets)) return false;
  for (size_t i = 0; i < info_.databases.size(); ++i) {
    info_.databases[i].offset = offsets[2 * i];
    info_.databases[i].length = offsets[2 * i + 1] - offsets[2 * i];
  }
  return true;
}

void BackupWriter::EndDatabase() {
  DatabaseRange& range = info_.databases.back();
  range.length = records_.handedOver() - range.offset;
}

BackupOutcome BackupWriter::ServerFailed(const essbase::Failure& failure) {
  outcome_.result = BackupResult::ServerFailure;
  outcome_.status = failure.status;
  outcome_.failure = failure;
  const std::string what =
      failure.call.empty() ? std::string(essbase::StepName(failure.step)) : failure.call;
  outcome_.reason = what + " returned " + std::to_string(failure.status);
  if (!failure.serverText.empty()) outcome_.reason += " (the server said: " + failure.serverText + ")";
  if (!failure.detail.empty()) outcome_.reason += " (" + failure.detail + ")";
  return outcome_;
}

BackupOutcome BackupWriter::WriteFailed() {
  records_.Finish();  // the error, if the stream only failed at flushing
  return Failed(BackupResult::WriteFailed, records_.error());
}

BackupOutcome BackupWriter::Commit() {
  if (info_.filters.empty() && info_.created.empty()) {
    outcome_.result = BackupResult::NothingToBackUp;
    return outcome_;
  }
  if (!records_.Finish()) return Failed(BackupResult::WriteFailed, records_.error());
  const std::time_t now = place_.clock->Now();
  info_.time = DescriptionTime(now);
  WriteBackupInfo(description_.stream(), info_);
  if (!description_.Finish()) return Failed(BackupResult::WriteFailed, description_.error());

  const DatabaseRange& first = info_.databases.front();
  for (int attempt = 1; attempt <= MaxAttempts; ++attempt) {
    const std::string stem = place_.folder + "/" +
                             BackupStem(now, request_.server, request_.command, first.application,
                                        first.database, info_.databases.size() - 1, attempt);
    // The description first: a records file a user can pick always has one.
    if (!description_.PlaceAs(stem + std::string(InfoExtension))) {
      if (description_.error()) return Failed(BackupResult::WriteFailed, description_.error());
      continue;
    }
    if (!records_.PlaceAs(stem + std::string(RecordsExtension))) {
      description_.Unplace();
      if (records_.error()) return Failed(BackupResult::WriteFailed, records_.error());
      continue;
    }
    SyncFolder(place_.folder);
    outcome_.result = BackupResult::Written;
    outcome_.path = stem + std::string(RecordsExtension);
    PruneBackups(place_.folder, place_.keepDays, now);
    return outcome_;
  }
  return Failed(BackupResult::WriteFailed, EEXIST);
}

}  // namespace backup
