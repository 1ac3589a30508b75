#include "essbase/Server.h"

namespace essbase {

std::string_view StepName(Step step) {
  switch (step) {
    case Step::Start: return "start";
    case Step::LogIn: return "log in";
    case Step::LogOut: return "log out";
    case Step::ListApplications: return "list the applications";
    case Step::ApplicationState: return "read the application";
    case Step::ListDatabases: return "list the databases";
    case Step::ListFilters: return "list the filters";
    case Step::Activate: return "start the database";
    case Step::StopApplication: return "stop the application";
    case Step::ReadFilter: return "read the filter";
    case Step::WriteFilter: return "write the filter";
    case Step::DeleteFilter: return "delete the filter";
    case Step::WriteRow: return "write a row";
  }
  return "";
}

namespace {

class KeepOne final : public WriteReceiver {
 public:
  void Outcome(WriteOutcome& outcome) override { kept = std::move(outcome); }
  WriteOutcome kept;
};

}  // namespace

WriteOutcome Server::WriteFilter(const Database& db, Filter filter, const WriteOptions& options) {
  KeepOne one;
  std::unique_ptr<Writes> writes = StartWrites(one, options);
  writes->Write(db, std::move(filter));
  writes->Finish();
  return std::move(one.kept);
}

WriteOutcome Server::DeleteFilter(const Database& db, std::string name) {
  KeepOne one;
  std::unique_ptr<Writes> writes = StartWrites(one, {});
  writes->Delete(db, std::move(name));
  writes->Finish();
  return std::move(one.kept);
}

}  // namespace essbase
