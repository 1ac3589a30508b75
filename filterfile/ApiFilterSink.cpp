#include "filterfile/ApiFilterSink.h"

namespace filterfile {

using essbase::FilterAccess;
using essbase::FilterActive;

ApiFilterSink::ApiFilterSink(essbase::EssbaseApi& api, const essbase::Handle& context,
                             std::string application, std::string database, CallHooks hooks,
                             std::function<void(uint64_t)> onPassedOver)
    : api_(api),
      context_(context),
      application_(std::move(application)),
      database_(std::move(database)),
      hooks_(std::move(hooks)),
      onPassedOver_(std::move(onPassedOver)) {}

void ApiFilterSink::OpenFilter(std::string_view name) {
  scratch_.assign(name);
  Track(RunCall(hooks_, "EsbSetFilter", [&] {
    return api_.EsbSetFilter(context_, application_.c_str(), database_.c_str(), scratch_.c_str(),
                             active_, access_);
  }));
}

void ApiFilterSink::AddRow(std::string_view text, int16_t access) {
  scratch_.assign(text);
  Track(RunCall(hooks_, "EsbSetFilterRow",
                [&] { return api_.EsbSetFilterRow(context_, scratch_.c_str(), access); }));
}

void ApiFilterSink::CloseFilter() {
  Track(RunCall(hooks_, "EsbSetFilterRow",
                [&] { return api_.EsbSetFilterRow(context_, nullptr, FilterAccess); }));
}

void ApiFilterSink::PassedOver(uint64_t lineNumber) {
  ok_ = false;
  if (onPassedOver_) onPassedOver_(lineNumber);
}

}  // namespace filterfile
