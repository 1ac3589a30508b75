// The operations on applications, databases and filters of a login context.
#include <cstring>

#include "essbase/library/AppInfoRecord.h"
#include "essbase/library/ByteOrder.h"
#include "sim/Names.h"
#include "sim/SimServer.h"

namespace esbsim {

namespace {

// A name argument: trailing blanks dropped; BAD_NAME unless 1..max characters
// without line breaks. Longer inputs than any valid name are not read through.
int32_t NameArg(const char* text, size_t max, std::string& name) {
  if (!text) return ESB_STS_NULL_ARGUMENT;
  // Blank padding may follow a name, so read a bounded stretch and trim it.
  constexpr size_t kScan = 4096;
  const size_t n = strnlen(text, kScan);
  name.assign(TrimTrailingBlanks(std::string_view(text, n)));
  if (n == kScan) return ESB_STS_BAD_NAME;
  return ValidName(name, max) ? 0 : ESB_STS_BAD_NAME;
}

std::string Field(std::string_view text, size_t width) {
  std::string f(width, '\0');
  essbase::PutFixed(reinterpret_cast<uint8_t*>(f.data()), width, text);
  return f;
}

}  // namespace

void SimServer::StartListing(Context& c, int16_t kind, std::vector<std::string> items) {
  c.itemKind = items.empty() ? 0 : kind;
  c.items = std::move(items);
  c.nextItem = 0;
}

int32_t SimServer::ListApplications(EsbHandle context, int16_t* count) {
  if (!count) return ESB_STS_NULL_ARGUMENT;
  Call call = Enter(context, Operation::EsbListApplications);
  if (call.status) return call.status;
  std::vector<std::string> names;
  int32_t status = call.instance->store.listApplications(names);
  if (status) return status;
  for (auto& n : names) n = Field(n, ESB_APPNAME_WIDTH);
  *count = static_cast<int16_t>(names.size());
  StartListing(*call.context, ESB_ITEM_APPNAME, std::move(names));
  return Leave(call, Operation::EsbListApplications, 0);
}

int32_t SimServer::ListDatabases(EsbHandle context, const char* application, int16_t* count) {
  if (!count) return ESB_STS_NULL_ARGUMENT;
  Call call = Enter(context, Operation::EsbListDatabases);
  if (call.status) return call.status;
  std::string app;
  if (int32_t status = NameArg(application, ESB_APPNAME_WIDTH, app)) return status;
  int64_t appId = 0;
  std::vector<std::string> names;
  Store& store = call.instance->store;
  int32_t status = store.findApplication(app, appId);
  if (status == 0) status = store.listDatabases(appId, names);
  if (status) return status;
  const std::string appField = Field(app, ESB_APPNAME_WIDTH);
  for (auto& n : names) n = appField + Field(n, ESB_DBNAME_WIDTH);
  *count = static_cast<int16_t>(names.size());
  StartListing(*call.context, ESB_ITEM_DBNAME, std::move(names));
  return Leave(call, Operation::EsbListDatabases, 0);
}

int32_t SimServer::GetNextItem(EsbHandle context, int16_t kind, char* buffer) {
  if (!buffer) return ESB_STS_NULL_ARGUMENT;
  Call call = Enter(context, Operation::EsbGetNextItem, false);
  if (call.status) return call.status;
  Context& c = *call.context;
  if (c.itemKind == 0) return ESB_STS_NO_ITEM_PENDING;
  if (kind != c.itemKind) return ESB_STS_BAD_ITEM_KIND;
  const std::string& item = c.items[c.nextItem++];
  std::memcpy(buffer, item.data(), item.size());
  if (c.nextItem == c.items.size()) StartListing(c, 0, {});
  return Leave(call, Operation::EsbGetNextItem, 0);
}

int32_t SimServer::GetApplicationInfo(EsbHandle context, const char* application, void* record,
                                      int16_t* databases) {
  if (!record || !databases) return ESB_STS_NULL_ARGUMENT;
  Call call = Enter(context, Operation::EsbGetApplicationInfo);
  if (call.status) return call.status;
  std::string app, server;
  if (int32_t status = NameArg(application, ESB_APPNAME_WIDTH, app)) return status;
  Store& store = call.instance->store;
  int64_t appId = 0;
  bool loaded = false;
  int16_t count = 0;
  int32_t status = store.findApplication(app, appId);
  if (status == 0) status = store.applicationState(appId, loaded, count);
  if (status == 0) status = store.serverName(server);
  if (status) return status;
  const auto g = call.instance->generation;
  essbase::AppInfo info;
  info.application = app;
  info.server = server;
  info.loaded = loaded;
  info.databases = static_cast<uint16_t>(count);
  essbase::WriteAppInfo(std::span<uint8_t>(static_cast<uint8_t*>(record), AppInfoSize(g)), g, info);
  *databases = count;
  return Leave(call, Operation::EsbGetApplicationInfo, 0);
}

int32_t SimServer::UnloadApplication(EsbHandle context, const char* application) {
  Call call = Enter(context, Operation::EsbUnloadApplication);
  if (call.status) return call.status;
  std::string app;
  if (int32_t status = NameArg(application, ESB_APPNAME_WIDTH, app)) return status;
  int64_t appId = 0;
  int32_t status = call.instance->store.findApplication(app, appId);
  if (status == 0) status = call.instance->store.setLoaded(appId, false);
  return Leave(call, Operation::EsbUnloadApplication, status);
}

int32_t SimServer::SetActive(EsbHandle context, const char* application, const char* database,
                             int16_t* access) {
  if (!access) return ESB_STS_NULL_ARGUMENT;
  Call call = Enter(context, Operation::EsbSetActive);
  if (call.status) return call.status;
  std::string app, db;
  if (int32_t status = NameArg(application, ESB_APPNAME_WIDTH, app)) return status;
  if (int32_t status = NameArg(database, ESB_DBNAME_WIDTH, db)) return status;
  Store& store = call.instance->store;
  int64_t dbId = 0, appId = 0;
  int32_t status = store.findDatabase(app, db, dbId);
  if (status == 0) status = store.findApplication(app, appId);
  if (status == 0) status = store.setLoaded(appId, true);
  if (status == 0) *access = call.context->access;
  return Leave(call, Operation::EsbSetActive, status);
}

int32_t SimServer::ListFilters(EsbHandle context, const char* application, const char* database,
                               int16_t* count) {
  if (!count) return ESB_STS_NULL_ARGUMENT;
  Call call = Enter(context, Operation::EsbListFilters);
  if (call.status) return call.status;
  std::string app, db;
  if (int32_t status = NameArg(application, ESB_APPNAME_WIDTH, app)) return status;
  if (int32_t status = NameArg(database, ESB_DBNAME_WIDTH, db)) return status;
  Store& store = call.instance->store;
  int64_t dbId = 0;
  std::vector<std::string> names;
  int32_t status = store.findDatabase(app, db, dbId);
  if (status == 0) status = store.listFilters(dbId, names);
  if (status) return status;
  for (auto& n : names) n = Field(n, ESB_FILTERNAME_WIDTH);
  *count = static_cast<int16_t>(names.size());
  StartListing(*call.context, ESB_ITEM_FILTERNAME, std::move(names));
  return Leave(call, Operation::EsbListFilters, 0);
}

int32_t SimServer::GetFilter(EsbHandle context, const char* application, const char* database,
                             const char* filter, int16_t* active, int16_t* access) {
  if (!active || !access) return ESB_STS_NULL_ARGUMENT;
  Call call = Enter(context, Operation::EsbGetFilter);
  if (call.status) return call.status;
  Context& c = *call.context;
  c.reading = false;
  std::string app, db, name;
  if (int32_t status = NameArg(application, ESB_APPNAME_WIDTH, app)) return status;
  if (int32_t status = NameArg(database, ESB_DBNAME_WIDTH, db)) return status;
  if (int32_t status = NameArg(filter, ESB_FILTERNAME_WIDTH, name)) return status;
  StoredFilter found;
  if (int32_t status =
          call.instance->store.openFilter(app, db, name, found, c.readRows, c.readCount))
    return status;
  c.reading = true;
  c.nextRow = 0;
  *active = found.active;
  *access = found.access;
  return Leave(call, Operation::EsbGetFilter, 0);
}

int32_t SimServer::GetFilterRow(EsbHandle context, char* row, int32_t length, int16_t* access) {
  if (!row || !access) return ESB_STS_NULL_ARGUMENT;
  Call call = Enter(context, Operation::EsbGetFilterRow, false);
  if (call.status) return call.status;
  Context& c = *call.context;
  if (!c.reading) return ESB_STS_ROWS_NOT_OPEN;
  if (length <= 0) return ESB_STS_BUFFER_TOO_SMALL;
  if (c.nextRow == c.readCount) {
    row[0] = '\0';
    *access = 0;
    c.reading = false;
    return Leave(call, Operation::EsbGetFilterRow, 0);
  }
  const StoredRow& r = c.readRows[c.nextRow];
  // Never cut a row: one that does not fit stays pending for a larger buffer.
  if (r.text.size() >= static_cast<size_t>(length)) return ESB_STS_BUFFER_TOO_SMALL;
  std::memcpy(row, r.text.c_str(), r.text.size() + 1);
  *access = r.access;
  ++c.nextRow;
  return Leave(call, Operation::EsbGetFilterRow, 0);
}

int32_t SimServer::SetFilter(EsbHandle context, const char* application, const char* database,
                             const char* filter, int16_t active, int16_t access) {
  Call call = Enter(context, Operation::EsbSetFilter);
  if (call.status) return call.status;
  Context& c = *call.context;
  // A new definition replaces one left open: the old one is never committed.
  c.writing = false;
  c.writeCount = 0;
  std::string app, db, name;
  if (int32_t status = NameArg(application, ESB_APPNAME_WIDTH, app)) return status;
  if (int32_t status = NameArg(database, ESB_DBNAME_WIDTH, db)) return status;
  if (int32_t status = NameArg(filter, ESB_FILTERNAME_WIDTH, name)) return status;
  int64_t dbId = 0;
  if (int32_t status = call.instance->store.findDatabase(app, db, dbId)) return status;
  c.writing = true;
  c.app = std::move(app);
  c.db = std::move(db);
  c.filter = std::move(name);
  c.active = active;
  c.filterAccess = access;
  return Leave(call, Operation::EsbSetFilter, 0);
}

int32_t SimServer::SetFilterRow(EsbHandle context, const char* row, int16_t access) {
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
  const size_t n = strnlen(row, MaxRowText + 1);
  if (!ValidRow(std::string_view(row, n))) return ESB_STS_BAD_ROW;
  if (c.writeCount == c.writeRows.size()) c.writeRows.emplace_back();
  c.writeRows[c.writeCount].access = access;
  c.writeRows[c.writeCount].text.assign(row, n);
  ++c.writeCount;
  return Leave(call, Operation::EsbSetFilterRow, 0);
}

int32_t SimServer::DeleteFilter(EsbHandle context, const char* application, const char* database,
                                const char* filter) {
  Call call = Enter(context, Operation::EsbDeleteFilter);
  if (call.status) return call.status;
  std::string app, db, name;
  if (int32_t status = NameArg(application, ESB_APPNAME_WIDTH, app)) return status;
  if (int32_t status = NameArg(database, ESB_DBNAME_WIDTH, db)) return status;
  if (int32_t status = NameArg(filter, ESB_FILTERNAME_WIDTH, name)) return status;
  return Leave(call, Operation::EsbDeleteFilter, call.instance->store.deleteFilter(app, db, name));
}

}  // namespace esbsim
