#include "desktop/DeleteFilters.h"

namespace desktop {

namespace {

class Tally final : public essbase::WriteReceiver {
 public:
  explicit Tally(DeleteOutcome& outcome) : outcome_(outcome) {}
  void Outcome(essbase::WriteOutcome& o) override {
    if (o.done)
      ++outcome_.deleted;
    else
      outcome_.refused.push_back({o.name, o.failure.status, o.failure});
  }

 private:
  DeleteOutcome& outcome_;
};

}  // namespace

DeleteOutcome DeleteFilters(essbase::Session& session, const SelectedDatabase& db,
                            const std::vector<std::string>& filters) {
  DeleteOutcome outcome;
  auto policed = session.Under(essbase::policy::Deletion());
  Tally tally(outcome);
  std::unique_ptr<essbase::Writes> writes = session.server().StartWrites(tally, {});
  for (const std::string& filter : filters) writes->Delete({db.application, db.database}, filter);
  writes->Finish();
  return outcome;
}

}  // namespace desktop
