#pragma once
// A FilterSink that defines the filters on the server: every filter goes into
// the one target application and database, with active flag 1 and access
// FilterAccess, whatever the file's own first two fields say. A failed call
// never stops the reading.
//
// A filter is closed (committed) only when every one of its rows got in: a
// filter whose EsbSetFilter or a row call failed, or that lost a line of the
// file, is left open, so that the server keeps its previous definition (the
// next EsbSetFilter on the context drops the open one). Such a filter is
// reported as left unchanged, as is one whose closing call failed.
#include <functional>
#include <string>

#include "essbase/library/EssbaseApi.h"
#include "filterfile/FilterFileReader.h"
#include "filterfile/ServerCall.h"

namespace filterfile {

// What the caller hears besides the server calls' own hooks. Passed-over
// lines are no server failure: each caller decides what they mean for its run.
struct ImportWatch {
  std::function<void(uint64_t lineNumber)> passedOver;
  std::function<void(std::string_view filter)> leftUnchanged;
};

class ApiFilterSink final : public FilterSink {
 public:
  // `context` is read at every call, so a hook that logs in again can renew it.
  ApiFilterSink(essbase::EssbaseApi& api, const essbase::Handle& context, std::string application,
                std::string database, CallHooks hooks, ImportWatch watch = {});

  void OpenFilter(std::string_view name) override;
  void AddRow(std::string_view text, int16_t access) override;
  void CloseFilter() override;
  void PassedOver(uint64_t lineNumber) override;
  void RowLost() override;

  // True while every server call succeeded.
  bool serverOk() const { return serverOk_; }
  uint64_t passedOverCount() const { return passedOver_; }
  // Number of the first passed-over line, 0 when none.
  uint64_t firstPassedOver() const { return firstPassedOver_; }
  uint64_t leftUnchangedCount() const { return leftUnchanged_; }
  // Filters whose closing call committed them.
  uint64_t committedCount() const { return committed_; }
  // Every filter of the file was defined whole and no line was passed over.
  bool ok() const { return serverOk_ && passedOver_ == 0 && leftUnchanged_ == 0; }

  // Active flag and access of the filters opened from now on (a restore puts
  // each filter's own back); FilterActive and FilterAccess until set.
  void SetFilterValues(int16_t active, int16_t access) {
    active_ = active;
    access_ = access;
  }

 private:
  int32_t Track(int32_t status) {
    serverOk_ = serverOk_ && status == 0;
    return status;
  }
  void LeftUnchanged();

  essbase::EssbaseApi& api_;
  const essbase::Handle& context_;
  std::string application_;
  std::string database_;
  CallHooks hooks_;
  ImportWatch watch_;
  std::string scratch_;  // NUL-terminated copy of a name or row
  std::string filter_;   // the filter being defined
  bool open_ = false;
  bool incomplete_ = false;  // a row of the open filter did not get in
  bool serverOk_ = true;
  uint64_t passedOver_ = 0;
  uint64_t firstPassedOver_ = 0;
  uint64_t leftUnchanged_ = 0;
  uint64_t committed_ = 0;
  int16_t active_ = essbase::FilterActive;
  int16_t access_ = essbase::FilterAccess;
};

}  // namespace filterfile
