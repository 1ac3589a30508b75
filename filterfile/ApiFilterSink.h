#pragma once
// A FilterSink that defines the filters on the server: every filter goes into
// the one target application and database, with active flag 1 and access
// FilterAccess, whatever the file's own first two fields say. A failed call
// never stops the reading; it only makes ok() false.
#include <functional>
#include <string>

#include "essbase/EssbaseApi.h"
#include "filterfile/FilterFileReader.h"
#include "filterfile/ServerCall.h"

namespace filterfile {

class ApiFilterSink final : public FilterSink {
 public:
  // `context` is read at every call, so a hook that logs in again can renew it.
  ApiFilterSink(essbase::EssbaseApi& api, const essbase::Handle& context, std::string application,
                std::string database, CallHooks hooks,
                std::function<void(uint64_t lineNumber)> onPassedOver = {});

  void OpenFilter(std::string_view name) override;
  void AddRow(std::string_view text, int16_t access) override;
  void CloseFilter() override;
  void PassedOver(uint64_t lineNumber) override;

  // True while every call succeeded and no line was passed over.
  bool ok() const { return ok_; }

  // Active flag and access of the filters opened from now on (a restore puts
  // each filter's own back); FilterActive and FilterAccess until set.
  void SetFilterValues(int16_t active, int16_t access) {
    active_ = active;
    access_ = access;
  }

 private:
  void Track(int32_t status) { ok_ = ok_ && status == 0; }

  essbase::EssbaseApi& api_;
  const essbase::Handle& context_;
  std::string application_;
  std::string database_;
  CallHooks hooks_;
  std::function<void(uint64_t)> onPassedOver_;
  std::string scratch_;  // NUL-terminated copy of a name or row
  bool ok_ = true;
  int16_t active_ = essbase::FilterActive;
  int16_t access_ = essbase::FilterAccess;
};

}  // namespace filterfile
