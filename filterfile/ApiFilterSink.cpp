#include "filterfile/ApiFilterSink.h"

namespace filterfile {

using essbase::FilterAccess;
using essbase::FilterActive;
using essbase::Operation;

ApiFilterSink::ApiFilterSink(essbase::EssbaseApi& api, const essbase::Handle& context,
                             std::string application, std::string database, CallHooks hooks,
                             ImportWatch watch)
    : api_(api),
      context_(context),
      application_(std::move(application)),
      database_(std::move(database)),
      hooks_(std::move(hooks)),
      watch_(std::move(watch)) {}

void ApiFilterSink::OpenFilter(std::string_view name) {
  filter_.assign(name);
  open_ = true;
  incomplete_ = false;
  if (Track(RunCall(hooks_, {Operation::EsbSetFilter}, [&] {
        return api_.EsbSetFilter(context_, application_.c_str(), database_.c_str(), filter_.c_str(),
                                 active_, access_);
      })))
    incomplete_ = true;
}

void ApiFilterSink::AddRow(std::string_view text, int16_t access) {
  scratch_.assign(text);
  if (Track(RunCall(hooks_, {Operation::EsbSetFilterRow},
                    [&] { return api_.EsbSetFilterRow(context_, scratch_.c_str(), access); })))
    incomplete_ = true;
}

void ApiFilterSink::CloseFilter() {
  if (open_ && incomplete_) {
    // No closing call: it would commit the filter without the missing rows.
    LeftUnchanged();
    return;
  }
  const int32_t status = Track(RunCall(hooks_, CloseFilterCall, [&] {
    return api_.EsbSetFilterRow(context_, nullptr, FilterAccess);
  }));
  if (open_ && status != 0) LeftUnchanged();
  if (open_ && status == 0) ++committed_;
  open_ = false;
}

void ApiFilterSink::PassedOver(uint64_t lineNumber) {
  if (passedOver_++ == 0) firstPassedOver_ = lineNumber;
  if (watch_.passedOver) watch_.passedOver(lineNumber);
}

void ApiFilterSink::RowLost() {
  if (open_) incomplete_ = true;
}

void ApiFilterSink::LeftUnchanged() {
  open_ = false;
  // The server may still hold the definition open: no later close may commit it.
  if (hooks_.definitions) hooks_.definitions->LeftOpen();
  ++leftUnchanged_;
  if (watch_.leftUnchanged) watch_.leftUnchanged(filter_);
}

}  // namespace filterfile
