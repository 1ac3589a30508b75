#include "desktop/ImportFilterFile.h"

#include <fstream>

#include "desktop/ReloginHooks.h"
#include "filterfile/ApiFilterSink.h"
#include "filterfile/FilterFileReader.h"

namespace desktop {

namespace {

// Tells the hooks whether the call under way adds a row: the closing call
// goes to the same operation and must not be repeated.
class RowCallMarker final : public filterfile::FilterSink {
 public:
  RowCallMarker(filterfile::FilterSink& inner, bool& addingRow)
      : inner_(inner), addingRow_(addingRow) {}
  void OpenFilter(std::string_view name) override { inner_.OpenFilter(name); }
  void AddRow(std::string_view text, int16_t access) override {
    addingRow_ = true;
    inner_.AddRow(text, access);
    addingRow_ = false;
  }
  void CloseFilter() override { inner_.CloseFilter(); }
  void PassedOver(uint64_t lineNumber) override { inner_.PassedOver(lineNumber); }

 private:
  filterfile::FilterSink& inner_;
  bool& addingRow_;
};

}  // namespace

ImportOutcome ImportFilterFile(essbase::Session& session, const std::string& file,
                               const SelectedDatabase& target) {
  ImportOutcome outcome;
  session.conn().Access = essbase::FilterAccess;
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) {
    outcome.ok = outcome.fileOpened = false;
    return outcome;
  }
  bool addingRow = false;
  filterfile::ApiFilterSink sink(
      session.api(), session.conn().ContextHandle, target.application, target.database,
      ReloginHooks(session, [&](std::string_view) { return addingRow; }), [&](uint64_t line) {
        if (outcome.passedOver++ == 0) outcome.firstPassedOver = line;
      });
  RowCallMarker marker(sink, addingRow);
  outcome.readToEnd = filterfile::ReadFilterFile(in, marker) == filterfile::ReadOutcome::Complete;
  outcome.ok = sink.ok() && outcome.readToEnd && outcome.passedOver == 0;
  return outcome;
}

}  // namespace desktop
