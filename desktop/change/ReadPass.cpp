#include "desktop/change/ReadPass.h"

#include <array>
#include <exception>

#include "essbase/library/ApplicationLoadState.h"
#include "essbase/library/ByteOrder.h"
#include "essbase/library/ReadFilterRow.h"

namespace desktop::change {

using essbase::EssbaseApi;
using essbase::Handle;

namespace {

ChangeOutcome Ended(ChangeEnd end, int32_t status = 0) {
  ChangeOutcome o;
  o.end = end;
  o.status = status;
  return o;
}

}  // namespace

int32_t Activate(essbase::Session& session, const DatabaseName& db) {
  int16_t access = 0;
  return session.RunWithRelogin([&](EssbaseApi& api, Handle context) {
    return api.EsbSetActive(context, db.application.c_str(), db.database.c_str(), access);
  });
}

ReadPass::ReadPass(essbase::Session& session, ChangeQuestions& questions, RowStore& rows)
    : session_(session),
      questions_(questions),
      rows_(rows),
      rowBuffer_(static_cast<size_t>(essbase::DesktopRowBuffer)) {}

ChangeOutcome ReadPass::Run(const ChangeScope& scope) {
  rows_.Clear();
  filtersRead_ = 0;
  ChangeOutcome o;
  try {
    o = scope.allDatabases ? ReadMarkedDatabases(scope) : ReadOneDatabase(scope);
  } catch (const std::exception& e) {
    // Whatever was read is incomplete: nothing may be written from it.
    o = Ended(ChangeEnd::ReadFailed);
    o.description = e.what();
  }
  o.rows = rows_.Count();
  return o;
}

ChangeOutcome ReadPass::ReadOneDatabase(const ChangeScope& scope) {
  // The run's application is the selected node's parent: an application
  // node, or no node, names no database to work in.
  if (scope.databases.empty()) return Ended(ChangeEnd::NoDatabase);
  const DatabaseName& db = scope.databases.front();
  if (int32_t status = Activate(session_, db)) return Ended(ChangeEnd::ActivationFailed, status);
  const int total = static_cast<int>(scope.filters.size());
  for (const std::string& filter : scope.filters) {
    ChangeOutcome o = ReadFilter(db, filter);
    if (o.end != ChangeEnd::Read) return o;
    Report({ChangeProgress::Phase::Reading, filtersRead_, total, 1, 1});
  }
  return Ended(ChangeEnd::Read);
}

ChangeOutcome ReadPass::ReadMarkedDatabases(const ChangeScope& scope) {
  std::vector<std::string> appsToUnload;
  int marked = 0;
  ChangeOutcome o;
  try {
    o = ReadEachMarked(scope, appsToUnload, marked);
  } catch (const std::exception& e) {
    o = Ended(ChangeEnd::ReadFailed);
    o.description = e.what();
  }
  // Every way out, not only a complete read: the run loaded these itself.
  // Their statuses tell nothing the run could act on.
  for (const std::string& app : appsToUnload)
    session_.Run([&](EssbaseApi& api, Handle context) {
      return api.EsbUnloadApplication(context, app.c_str());
    });
  if (o.end == ChangeEnd::Read && marked == 0) o.end = ChangeEnd::NoDatabasesMarked;
  return o;
}

ChangeOutcome ReadPass::ReadEachMarked(const ChangeScope& scope,
                                       std::vector<std::string>& appsToUnload, int& marked) {
  const int databases = static_cast<int>(scope.databases.size());
  for (const DatabaseName& db : scope.databases) {
    ++marked;
    // A failed look-up says nothing about the load state: an application is
    // unloaded only when the server said it was not loaded.
    bool loaded = true;
    session_.Run([&](EssbaseApi& api, Handle context) {
      return essbase::ReadApplicationLoaded(api, context, db.application, session_.generation(),
                                            loaded);
    });
    if (!loaded) {
      if (static_cast<int>(appsToUnload.size()) >= MaxAppsToUnload) {
        ChangeOutcome o = Ended(ChangeEnd::TooManyApplications);
        o.applications = MaxAppsToUnload + 1;
        return o;
      }
      appsToUnload.push_back(db.application);
    }
    if (int32_t status = Activate(session_, db)) return Ended(ChangeEnd::ActivationFailed, status);

    // A listing cut short would leave filters out while the count message
    // reports success, and a name field left over from the previous item
    // would read that filter twice and write it with its rows doubled.
    int16_t count = 0;
    if (int32_t status = session_.Run([&](EssbaseApi& api, Handle context) {
          return api.EsbListFilters(context, db.application.c_str(), db.database.c_str(), count);
        }))
      return Ended(ChangeEnd::ListingFailed, status);
    for (int i = 0; i < count; ++i) {
      std::array<char, essbase::FilterNameWidth> field{};
      if (int32_t status = session_.Run([&](EssbaseApi& api, Handle context) {
            return api.EsbGetNextItem(context, essbase::ItemFilterName, field);
          }))
        return Ended(ChangeEnd::ListingFailed, status);
      ChangeOutcome o = ReadFilter(db, std::string(essbase::GetFixed(field.data(), field.size())));
      if (o.end != ChangeEnd::Read) return o;
      Report({ChangeProgress::Phase::Reading, filtersRead_, 0, marked, databases});
    }
  }
  return Ended(ChangeEnd::Read);
}

ChangeOutcome ReadPass::ReadFilter(const DatabaseName& db, const std::string& filter) {
  int16_t active = 0;
  int16_t access = 0;
  if (int32_t status = session_.Run([&](EssbaseApi& api, Handle context) {
        return api.EsbGetFilter(context, db.application.c_str(), db.database.c_str(),
                                filter.c_str(), active, access);
      }))
    return Ended(ChangeEnd::FilterOpenFailed, status);
  std::string_view text;
  int16_t rowAccess = 0;
  auto readRow = [&] {
    return session_.Run([&](EssbaseApi& api, Handle context) {
      return essbase::ReadFilterRow(api, context, rowBuffer_, spill_, rowAccess, text);
    });
  };
  if (int32_t status = readRow()) return Ended(ChangeEnd::FilterOpenFailed, status);
  while (!text.empty()) {
    if (!rows_.Add(
            {db.database, db.application, filter, rowAccess, std::string(text), active, access}))
      return Ended(ChangeEnd::TooManyRows);
    if (int32_t status = readRow()) return Ended(ChangeEnd::LaterRowFailed, status);
  }
  ++filtersRead_;
  return Ended(ChangeEnd::Read);
}

void ReadPass::Report(ChangeProgress progress) {
  questions_.Progress(progress);
}

}  // namespace desktop::change
