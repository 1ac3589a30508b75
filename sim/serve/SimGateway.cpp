#include "sim/serve/SimGateway.h"

#include "essbase/AccessWords.h"
#include "essbase/Constants.h"
#include "sim/Names.h"
#include "sim/serve/GatewayFailures.h"

namespace esbsim::serve {

bool SimGateway::Open(const std::string& storePath, std::string& error) {
  if (store_.open(storePath, true) != 0) {
    error = storePath + ": " + store_.error();
    return false;
  }
  const int32_t status = core_.Init(essbase::Generation::V6, storePath, instance_);
  if (status != 0) error = "EsbInit failed with status " + std::to_string(status);
  return status == 0;
}

int32_t SimGateway::Items(Handle context, int16_t kind, int16_t count,
                          std::vector<std::string>& names) {
  auto take = [&](const Item& item) {
    names.emplace_back(item.name);
    return 0;
  };
  for (int16_t i = 0; i < count; ++i)
    if (int32_t status = core_.GetNextItem(context, kind, take)) return status;
  return 0;
}

int32_t SimGateway::Rows(Handle context, std::vector<WireRow>& rows, std::string& why) {
  bool end = false;
  auto take = [&](const StoredRow* row) -> int32_t {
    if (!row) {
      end = true;
      return 0;
    }
    const auto word = essbase::AccessWord(row->access);
    if (!word) {
      why = "row " + std::to_string(rows.size() + 1) + " has access code " +
            std::to_string(row->access) + ", which has no REST access word";
      return ESB_STS_STORE_FAILURE;
    }
    rows.push_back({std::string(*word), row->text});
    return 0;
  };
  while (!end)
    if (int32_t status = core_.GetFilterRow(context, take)) return status;
  return 0;
}

Reply SimGateway::Applications(const std::string& token) {
  std::lock_guard<std::mutex> lock(mutex_);
  Handle c = 0;
  int16_t count = 0;
  Reply r;
  int32_t status = Context(token, c);
  if (status == 0) status = core_.ListApplications(c, count);
  if (status == 0) status = Items(c, ESB_ITEM_APPNAME, count, r.names);
  if (status) return Done(token, Failed(status, "EsbListApplications"));
  return r;
}

std::vector<bool> SimGateway::Started(const std::vector<std::string>& apps) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<bool> started;
  for (const std::string& app : apps) {
    int64_t id = 0;
    int16_t databases = 0;
    bool loaded = false;
    if (store_.findApplication(app, id) == 0) store_.applicationState(id, loaded, databases);
    started.push_back(loaded);
  }
  return started;
}

Reply SimGateway::Application(const std::string& token, const std::string& app) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Names n{app, {}, {}, 0};
  Handle c = 0;
  Reply r;
  auto take = [&](const ApplicationState& state) {
    r.started = state.loaded;
    return 0;
  };
  int32_t status = Context(token, c);
  if (status == 0) status = core_.GetApplicationInfo(c, n, take);
  if (status) return Done(token, Failed(status, "EsbGetApplicationInfo", n));
  return r;
}

Reply SimGateway::StopApplication(const std::string& token, const std::string& app) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Names n{app, {}, {}, 0};
  Handle c = 0;
  int32_t status = Context(token, c);
  if (status == 0) status = core_.UnloadApplication(c, n);
  if (status) return Done(token, Failed(status, "EsbUnloadApplication", n));
  return {};
}

Reply SimGateway::Databases(const std::string& token, const std::string& app) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Names n{app, {}, {}, 0};
  Handle c = 0;
  int16_t count = 0;
  Reply r;
  int32_t status = Context(token, c);
  if (status == 0) status = core_.ListDatabases(c, n, count);
  if (status == 0) status = Items(c, ESB_ITEM_DBNAME, count, r.names);
  if (status) return Done(token, Failed(status, "EsbListDatabases", n));
  return r;
}

Reply SimGateway::Database(const std::string& token, const std::string& app,
                           const std::string& db) {
  Reply r = Databases(token, app);
  if (r.status) return r;
  for (const std::string& name : r.names)
    if (name == TrimTrailingBlanks(db)) return {};
  const bool held = ValidName(TrimTrailingBlanks(db), MaxDatabaseName);
  return Failed(held ? ESB_STS_UNKNOWN_DATABASE : ESB_STS_BAD_NAME,
                "EsbListDatabases", {app, db, {}, 0});
}

Reply SimGateway::StartDatabase(const std::string& token, const std::string& app,
                                const std::string& db) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Names n{app, db, {}, 0};
  Handle c = 0;
  int16_t access = 0;
  int32_t status = Context(token, c);
  if (status == 0) status = core_.SetActive(c, n, access);
  if (status) return Done(token, Failed(status, "EsbSetActive", n));
  return {};
}

Reply SimGateway::Filters(const std::string& token, const std::string& app,
                          const std::string& db) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Names n{app, db, {}, 0};
  Handle c = 0;
  int16_t count = 0;
  Reply r;
  int32_t status = Context(token, c);
  if (status == 0) status = core_.ListFilters(c, n, count);
  if (status == 0) status = Items(c, ESB_ITEM_FILTERNAME, count, r.names);
  if (status) return Done(token, Failed(status, "EsbListFilters", n));
  return r;
}

Reply SimGateway::Filter(const std::string& token, const std::string& app, const std::string& db,
                         const std::string& filter, bool withRows) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Names n{app, db, filter, 0};
  Handle c = 0;
  int16_t active = 0, access = 0;
  Reply r;
  int32_t status = Context(token, c);
  if (status == 0) status = core_.GetFilter(c, n, active, access);
  if (status) return Done(token, Failed(status, "EsbGetFilter", n));
  if (!withRows) return r;
  std::string why;
  if (int32_t rowStatus = Rows(c, r.rows, why))
    return Done(token, why.empty() ? Failed(rowStatus, "EsbGetFilterRow", n)
                                   : Reply{rowStatus, why, {}, {}, false});
  return r;
}

Reply SimGateway::WriteFilter(const std::string& token, const std::string& app,
                              const std::string& db, const std::string& filter,
                              const std::vector<WireRow>& rows, bool create) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Names n{app, db, filter, 0};
  Reply r;
  // The rows are checked before the server sees any call of the write.
  std::vector<int16_t> codes;
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto code = essbase::AccessCode(rows[i].access);
    const std::string at = "row " + std::to_string(i + 1);
    if (!code)
      return {ESB_STS_BAD_ROW, at + ": unknown access \"" + rows[i].access + "\"", {}, {}, false};
    if (!ValidRow(rows[i].mbrSpec))
      return {ESB_STS_BAD_ROW, at + " cannot be held: " + RowRule(), {}, {}, false};
    codes.push_back(*code);
  }
  StoredFilter found;
  const std::string_view name = TrimTrailingBlanks(filter);
  const int32_t existing =
      store_.findFilter(TrimTrailingBlanks(app), TrimTrailingBlanks(db), name, found);
  if (create && existing == 0)
    return {ESB_STS_BAD_NAME, "filter \"" + filter + "\" already exists", {}, {}, false};
  if (!create && existing == ESB_STS_UNKNOWN_FILTER && ValidName(name, MaxFilterName))
    return Failed(ESB_STS_UNKNOWN_FILTER, "", n);
  Handle c = 0;
  int32_t status = Context(token, c);
  if (status == 0)
    status = core_.SetFilter(c, n, essbase::FilterActive, essbase::FilterAccess);
  if (status) return Done(token, Failed(status, "EsbSetFilter", n));
  for (size_t i = 0; i < rows.size(); ++i) {
    const int32_t rowStatus = core_.SetFilterRow(c, rows[i].mbrSpec, codes[i]);
    if (rowStatus)
      return Done(token,
                  Failed(rowStatus, "EsbSetFilterRow (row " + std::to_string(i + 1) + ")", n));
  }
  if (int32_t closing = core_.SetFilterRow(c, std::nullopt, essbase::FilterAccess))
    return Done(token, Failed(closing, "EsbSetFilterRow (closing)", n));
  r.rows = rows;
  return r;
}

Reply SimGateway::DeleteFilter(const std::string& token, const std::string& app,
                               const std::string& db, const std::string& filter) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Names n{app, db, filter, 0};
  Handle c = 0;
  int32_t status = Context(token, c);
  if (status == 0) status = core_.DeleteFilter(c, n);
  if (status) return Done(token, Failed(status, "EsbDeleteFilter", n));
  return {};
}

}  // namespace esbsim::serve
