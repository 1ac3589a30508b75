#include "filterfile/RecordProducer.h"

#include <algorithm>
#include <vector>

#include "essbase/library/ByteOrder.h"
#include "essbase/library/ReadFilterRow.h"
#include "filterfile/RowRecord.h"

namespace filterfile {

using essbase::FilterNameWidth;
using essbase::ItemFilterName;
using essbase::Operation;

ProduceOutcome ProduceRecords(essbase::EssbaseApi& api, const essbase::Handle& context,
                              const std::string& application, const std::string& database,
                              std::ostream& out, const ProducerOptions& options) {
  const CallHooks& hooks = options.hooks;
  const char* app = application.c_str();
  const char* db = database.c_str();
  int16_t count = 0;
  if (RunCall(hooks, {Operation::EsbListFilters},
              [&] { return api.EsbListFilters(context, app, db, count); }))
    return ProduceOutcome::ServerFailure;

  std::vector<char> field(FilterNameWidth, '\0');
  std::vector<char> row(static_cast<size_t>(std::max(options.rowBuffer, 1)), '\0');
  std::vector<char> spill;  // for rows longer than the caller's buffer
  std::string_view text;
  for (int i = 0; i < count; ++i) {
    std::fill(field.begin(), field.end(), '\0');
    if (RunCall(hooks, {Operation::EsbGetNextItem}, [&] {
          return api.EsbGetNextItem(context, ItemFilterName, std::span<char>(field));
        }))
      return ProduceOutcome::ServerFailure;
    // A name that fills its field has no NUL.
    const std::string name(essbase::GetFixed(field.data(), field.size()));

    const bool selected = !options.selected || options.selected(name);
    if (!selected && !options.readUnselected) continue;
    int16_t active = 0;
    int16_t access = 0;
    if (RunCall(hooks, {Operation::EsbGetFilter},
                [&] { return api.EsbGetFilter(context, app, db, name.c_str(), active, access); }))
      return ProduceOutcome::ServerFailure;

    auto nextRow = [&] {
      return RunCall(hooks, {Operation::EsbGetFilterRow}, [&] {
        return essbase::ReadFilterRow(api, context, row, spill, access, text);
      });
    };
    const int16_t filterAccess = access;  // the row calls reuse `access`
    uint64_t rows = 0;
    if (nextRow()) return ProduceOutcome::ServerFailure;
    while (!text.empty()) {
      if (selected && !WriteRowRecord(out, application, database, name, access, text))
        return ProduceOutcome::WriteFailure;
      ++rows;
      if (nextRow()) return ProduceOutcome::ServerFailure;
    }
    if (selected && options.onFilter) options.onFilter(name, active, filterAccess, rows);
  }
  return ProduceOutcome::Complete;
}

}  // namespace filterfile
