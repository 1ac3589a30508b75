#include "backup/LoadBackup.h"

#include <set>
#include <tuple>

#include "backup/BackupName.h"
#include "backup/RangeStream.h"
#include "backup/RegularFile.h"
#include "filterfile/FilterFileReader.h"
#include "platform/Descriptor.h"
#include "platform/ReadAt.h"

namespace backup {

namespace {

// Follows the reader through one database's records and compares them with
// the filters the description lists for it.
class CheckSink final : public filterfile::FilterSink {
 public:
  explicit CheckSink(std::vector<const SavedFilter*> withRows) : expected_(std::move(withRows)) {}

  void OpenFilter(std::string_view name) override {
    if (next_ >= expected_.size() || expected_[next_]->name != name) {
      Mismatch();
      return;
    }
    current_ = expected_[next_++];
    rows_ = 0;
  }
  void AddRow(std::string_view, int16_t) override {
    if (!current_) Mismatch();
    ++rows_;
  }
  void CloseFilter() override {
    if (current_ && rows_ != current_->rows) Mismatch();
    current_ = nullptr;
  }
  void PassedOver(uint64_t) override { Mismatch(); }
  void RowLost() override { Mismatch(); }

  bool matched() const { return matched_ && next_ == expected_.size(); }

 private:
  void Mismatch() { matched_ = false; }

  std::vector<const SavedFilter*> expected_;
  size_t next_ = 0;
  const SavedFilter* current_ = nullptr;
  uint64_t rows_ = 0;
  bool matched_ = true;
};

// The records' ranges follow each other from `start`.
std::string CheckStructure(const BackupInfo& info, uint64_t start) {
  uint64_t next = start;
  std::set<std::pair<std::string, std::string>> databases;
  for (const DatabaseRange& d : info.databases) {
    if (d.offset != next)
      return "the records of " + d.application + "/" + d.database + " are out of place";
    next += d.length;
    if (!databases.emplace(d.application, d.database).second)
      return d.application + "/" + d.database + " is described twice";
  }
  std::set<std::tuple<std::string, std::string, std::string>> names;
  for (const SavedFilter& f : info.filters) {
    if (!databases.contains({f.application, f.database}))
      return "the filter " + f.name + " names a database the backup does not hold";
    if (!names.emplace(f.application, f.database, f.name).second)
      return "the filter " + f.name + " is described twice";
  }
  for (const CreatedName& c : info.created)
    if (!databases.contains({c.application, c.database}) ||
        names.contains({c.application, c.database, c.name}))
      return "the created filter " + c.name + " is described wrongly";
  return {};
}

}  // namespace

filterfile::FileEncoding RecordsEncoding(int fd) {
  char mark[3] = {};
  size_t got = 0;
  return fd >= 0 && platform::ReadAt(fd, mark, 3, 0, got) == 0 && got == 3 &&
                 std::string_view(mark, 3) == filterfile::Utf8Mark
             ? filterfile::FileEncoding::Utf8
             : filterfile::FileEncoding::Latin1;
}

FiltersByDatabase GroupFilters(const BackupInfo& info) {
  FiltersByDatabase out;
  for (const SavedFilter& f : info.filters) out[{f.application, f.database}].push_back(&f);
  return out;
}

std::optional<LoadedBackup> LoadBackup(const std::string& chosen, std::string& reason) {
  LoadedBackup backup;
  const std::string stem = StemOf(chosen);
  backup.infoPath = stem + std::string(InfoExtension);
  backup.recordsPath = stem + std::string(RecordsExtension);

  std::string why;
  const int described = OpenRegularFile(backup.infoPath, why);
  if (described < 0) {
    reason = "its description " + backup.infoPath + " " + why;
    return std::nullopt;
  }
  uint64_t size = 0;
  std::optional<BackupInfo> info;
  if (platform::FileSize(described, size) == 0) {
    RangeStream description(described, 0, size);
    info = ParseBackupInfo(description, reason);
  } else {
    reason = "its description " + backup.infoPath + " cannot be read";
  }
  platform::CloseFile(described);
  if (!info) return std::nullopt;

  const int fd = OpenRegularFile(backup.recordsPath, why);
  if (fd < 0) {
    reason = "its records " + backup.recordsPath + " " + why;
    return std::nullopt;
  }
  // A UTF-8 file's records begin after its mark.
  const filterfile::FileEncoding encoding = RecordsEncoding(fd);
  const uint64_t start =
      encoding == filterfile::FileEncoding::Utf8 ? filterfile::Utf8Mark.size() : 0;
  if (reason = CheckStructure(*info, start); !reason.empty()) {
    platform::CloseFile(fd);
    return std::nullopt;
  }
  const uint64_t total = info->databases.empty()
                             ? start
                             : info->databases.back().offset + info->databases.back().length;
  bool whole = platform::FileSize(fd, size) == 0 && size == total;
  FiltersByDatabase filters = GroupFilters(*info);
  for (const DatabaseRange& range : info->databases) {
    if (!whole) break;
    std::vector<const SavedFilter*> withRows;
    for (const SavedFilter* f : filters[{range.application, range.database}])
      if (f->rows > 0) withRows.push_back(f);
    CheckSink check(std::move(withRows));
    RangeStream in(fd, range.offset, range.length);
    whole = filterfile::ReadFilterFile(in, check, nullptr, encoding) ==
                filterfile::ReadOutcome::Complete &&
            check.matched();
  }
  platform::CloseFile(fd);
  if (!whole) {
    reason = "its records do not match its description";
    return std::nullopt;
  }
  backup.info = std::move(*info);
  return backup;
}

}  // namespace backup
