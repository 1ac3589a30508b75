// The operations on applications, databases and filters of a login context.
#include "sim/Names.h"
#include "sim/SimCore.h"

namespace esbsim {

namespace {

// The first parts of names (1: application; 2: and database; 3: and filter),
// trailing blanks dropped; BAD_NAME unless each holds what the store does.
int32_t ReadNames(const Names& given, int parts, Names& names) {
  if (given.refused) return given.refused;
  names.app.assign(TrimTrailingBlanks(given.app));
  if (!ValidName(names.app, MaxApplicationName)) return ESB_STS_BAD_NAME;
  if (parts < 2) return 0;
  names.db.assign(TrimTrailingBlanks(given.db));
  if (!ValidName(names.db, MaxDatabaseName)) return ESB_STS_BAD_NAME;
  if (parts < 3) return 0;
  names.filter.assign(TrimTrailingBlanks(given.filter));
  return ValidName(names.filter, MaxFilterName) ? 0 : ESB_STS_BAD_NAME;
}

}  // namespace

void SimCore::StartListing(Context& c, int16_t kind, std::vector<std::string> items,
                           std::string app) {
  c.itemKind = items.empty() ? 0 : kind;
  c.items = std::move(items);
  c.itemApp = std::move(app);
  c.nextItem = 0;
}

int32_t SimCore::ListApplications(EsbHandle context, int16_t& count) {
  Call call = Enter(context, Operation::EsbListApplications);
  if (call.status) return call.status;
  std::vector<std::string> names;
  if (int32_t status = call.instance->store.listApplications(names)) return status;
  count = static_cast<int16_t>(names.size());
  StartListing(*call.context, ESB_ITEM_APPNAME, std::move(names));
  return Leave(call, Operation::EsbListApplications, 0);
}

int32_t SimCore::ListDatabases(EsbHandle context, const Names& given, int16_t& count) {
  Call call = Enter(context, Operation::EsbListDatabases);
  if (call.status) return call.status;
  Names n;
  if (int32_t status = ReadNames(given, 1, n)) return status;
  int64_t appId = 0;
  std::vector<std::string> names;
  Store& store = call.instance->store;
  int32_t status = store.findApplication(n.app, appId);
  if (status == 0) status = store.listDatabases(appId, names);
  if (status) return status;
  count = static_cast<int16_t>(names.size());
  StartListing(*call.context, ESB_ITEM_DBNAME, std::move(names), std::move(n.app));
  return Leave(call, Operation::EsbListDatabases, 0);
}

int32_t SimCore::ListFilters(EsbHandle context, const Names& given, int16_t& count) {
  Call call = Enter(context, Operation::EsbListFilters);
  if (call.status) return call.status;
  Names n;
  if (int32_t status = ReadNames(given, 2, n)) return status;
  Store& store = call.instance->store;
  int64_t dbId = 0;
  std::vector<std::string> names;
  int32_t status = store.findDatabase(n.app, n.db, dbId);
  if (status == 0) status = store.listFilters(dbId, names);
  if (status) return status;
  count = static_cast<int16_t>(names.size());
  StartListing(*call.context, ESB_ITEM_FILTERNAME, std::move(names));
  return Leave(call, Operation::EsbListFilters, 0);
}

int32_t SimCore::GetNextItem(EsbHandle context, int16_t kind, const TakeItem& take) {
  Call call = Enter(context, Operation::EsbGetNextItem, false);
  if (call.status) return call.status;
  Context& c = *call.context;
  if (c.itemKind == 0) return ESB_STS_NO_ITEM_PENDING;
  if (kind != c.itemKind) return ESB_STS_BAD_ITEM_KIND;
  const int32_t status = take({c.itemApp, c.items[c.nextItem]});
  // An item the face cannot give is passed over: the listing goes on.
  if (++c.nextItem == c.items.size()) StartListing(c, 0, {});
  return Leave(call, Operation::EsbGetNextItem, status);
}

int32_t SimCore::GetApplicationInfo(EsbHandle context, const Names& given, const TakeState& take) {
  Call call = Enter(context, Operation::EsbGetApplicationInfo);
  if (call.status) return call.status;
  Names n;
  if (int32_t status = ReadNames(given, 1, n)) return status;
  Store& store = call.instance->store;
  std::string server;
  int64_t appId = 0;
  ApplicationState state;
  int32_t status = store.findApplication(n.app, appId);
  if (status == 0) status = store.applicationState(appId, state.loaded, state.databases);
  if (status == 0) status = store.serverName(server);
  if (status) return status;
  state.application = n.app;
  state.server = server;
  state.generation = call.instance->generation;
  return Leave(call, Operation::EsbGetApplicationInfo, take(state));
}

int32_t SimCore::UnloadApplication(EsbHandle context, const Names& given) {
  Call call = Enter(context, Operation::EsbUnloadApplication);
  if (call.status) return call.status;
  Names n;
  if (int32_t status = ReadNames(given, 1, n)) return status;
  int64_t appId = 0;
  int32_t status = call.instance->store.findApplication(n.app, appId);
  if (status == 0) status = call.instance->store.setLoaded(appId, false);
  return Leave(call, Operation::EsbUnloadApplication, status);
}

int32_t SimCore::SetActive(EsbHandle context, const Names& given, int16_t& access) {
  Call call = Enter(context, Operation::EsbSetActive);
  if (call.status) return call.status;
  Names n;
  if (int32_t status = ReadNames(given, 2, n)) return status;
  Store& store = call.instance->store;
  int64_t dbId = 0, appId = 0;
  int32_t status = store.findDatabase(n.app, n.db, dbId);
  if (status == 0) status = store.findApplication(n.app, appId);
  if (status == 0) status = store.setLoaded(appId, true);
  if (status == 0) access = call.context->access;
  return Leave(call, Operation::EsbSetActive, status);
}

int32_t SimCore::GetFilter(EsbHandle context, const Names& given, int16_t& active,
                           int16_t& access, const CheckRows& check) {
  Call call = Enter(context, Operation::EsbGetFilter);
  if (call.status) return call.status;
  Context& c = *call.context;
  c.reading = false;
  Names n;
  if (int32_t status = ReadNames(given, 3, n)) return status;
  StoredFilter found;
  if (int32_t status =
          call.instance->store.openFilter(n.app, n.db, n.filter, found, c.readRows, c.readCount))
    return status;
  if (check)
    if (int32_t status = check(c.readRows, c.readCount)) return status;
  c.reading = true;
  c.nextRow = 0;
  active = found.active;
  access = found.access;
  return Leave(call, Operation::EsbGetFilter, 0);
}

int32_t SimCore::GetFilterRow(EsbHandle context, const TakeRow& take) {
  Call call = Enter(context, Operation::EsbGetFilterRow, false);
  if (call.status) return call.status;
  Context& c = *call.context;
  if (!c.reading) return ESB_STS_ROWS_NOT_OPEN;
  const bool end = c.nextRow == c.readCount;
  // Never cut a row: one the face refuses stays pending.
  if (int32_t status = take(end ? nullptr : &c.readRows[c.nextRow])) return status;
  if (end)
    c.reading = false;
  else
    ++c.nextRow;
  return Leave(call, Operation::EsbGetFilterRow, 0);
}

int32_t SimCore::SetFilter(EsbHandle context, const Names& given, int16_t active,
                           int16_t access) {
  Call call = Enter(context, Operation::EsbSetFilter);
  if (call.status) return call.status;
  Context& c = *call.context;
  // A new definition replaces one left open: the old one is never committed.
  c.writing = false;
  c.writeCount = 0;
  Names n;
  if (int32_t status = ReadNames(given, 3, n)) return status;
  int64_t dbId = 0;
  if (int32_t status = call.instance->store.findDatabase(n.app, n.db, dbId)) return status;
  c.writing = true;
  c.app = std::move(n.app);
  c.db = std::move(n.db);
  c.filter = std::move(n.filter);
  c.active = active;
  c.filterAccess = access;
  return Leave(call, Operation::EsbSetFilter, 0);
}

int32_t SimCore::SetFilterRow(EsbHandle context, std::optional<std::string_view> row,
                              int16_t access, int32_t refused) {
  Call call = Enter(context, Operation::EsbSetFilterRow, false);
  if (call.status) return call.status;
  Context& c = *call.context;
  if (!row) {
    if (!c.writing) return Leave(call, Operation::EsbSetFilterRow, 0);
    c.writing = false;
    int32_t status = call.instance->store.commitFilter(c.app, c.db, c.filter, c.active,
                                                       c.filterAccess, c.writeRows, c.writeCount);
    c.writeCount = 0;
    return Leave(call, Operation::EsbSetFilterRow, status);
  }
  if (!c.writing) return ESB_STS_ROWS_NOT_OPEN;
  if (refused) return refused;
  if (!ValidRow(*row)) return ESB_STS_BAD_ROW;
  if (c.writeCount == c.writeRows.size()) c.writeRows.emplace_back();
  c.writeRows[c.writeCount].access = access;
  c.writeRows[c.writeCount].text.assign(*row);
  ++c.writeCount;
  return Leave(call, Operation::EsbSetFilterRow, 0);
}

int32_t SimCore::DeleteFilter(EsbHandle context, const Names& given) {
  Call call = Enter(context, Operation::EsbDeleteFilter);
  if (call.status) return call.status;
  Names n;
  if (int32_t status = ReadNames(given, 3, n)) return status;
  return Leave(call, Operation::EsbDeleteFilter,
               call.instance->store.deleteFilter(n.app, n.db, n.filter));
}

}  // namespace esbsim
