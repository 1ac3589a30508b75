#include "sim/serve/SimGateway.h"

#include <cstdlib>

#include "essbase/AccessWords.h"
#include "essbase/Latin1.h"
#include "essbase/library/AppInfoRecord.h"
#include "essbase/library/ByteOrder.h"
#include "sim/serve/GatewayFailures.h"

namespace esbsim::serve {

using essbase::Latin1ToUtf8;

bool SimGateway::Open(const std::string& storePath, std::string& error) {
  setenv("ESBSIM_STORE", storePath.c_str(), 1);
  if (store_.open(storePath, true) != 0) {
    error = storePath + ": " + store_.error();
    return false;
  }
  const int32_t status =
      api_.EsbInit(essbase::ApiInitRecord(ESB_API_VERSION_6, "serve"), instance_);
  if (status != 0) error = "EsbInit failed with status " + std::to_string(status);
  return status == 0;
}

int32_t SimGateway::Items(Handle context, int16_t kind, int16_t count, size_t width, size_t skip,
                          std::vector<std::string>& names) {
  std::string field(static_cast<size_t>(essbase::ItemWidth(kind)), '\0');
  for (int16_t i = 0; i < count; ++i) {
    if (int32_t status = api_.EsbGetNextItem(context, kind, field)) return status;
    names.push_back(Latin1ToUtf8(essbase::GetFixed(field.data() + skip, width)));
  }
  return 0;
}

int32_t SimGateway::Rows(Handle context, std::vector<WireRow>& rows, std::string& why) {
  std::string buffer(ESB_ROW_MAX + 1, '\0');
  for (;;) {
    int16_t access = 0;
    if (int32_t status = api_.EsbGetFilterRow(context, buffer, access)) return status;
    if (buffer[0] == '\0') return 0;
    const auto word = essbase::AccessWord(access);
    if (!word) {
      why = "row " + std::to_string(rows.size() + 1) + " has access code " +
            std::to_string(access) + ", which has no REST access word";
      return ESB_STS_STORE_FAILURE;
    }
    rows.push_back({std::string(*word), Latin1ToUtf8(buffer.c_str())});
  }
}

Reply SimGateway::Applications(const std::string& token) {
  std::lock_guard<std::mutex> lock(mutex_);
  Handle c = 0;
  int16_t count = 0;
  Reply r;
  int32_t status = Context(token, c);
  if (status == 0) status = api_.EsbListApplications(c, count);
  if (status == 0) status = Items(c, ESB_ITEM_APPNAME, count, ESB_APPNAME_WIDTH, 0, r.names);
  if (status) return Done(token, Failed(status, "EsbListApplications"));
  return r;
}

std::vector<bool> SimGateway::Started(const std::vector<std::string>& apps) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<bool> started;
  for (const std::string& name : apps) {
    std::string app;
    size_t badAt = 0;
    int64_t id = 0;
    int16_t databases = 0;
    bool loaded = false;
    if (essbase::Utf8ToLatin1(name, app, badAt) && store_.findApplication(app, id) == 0)
      store_.applicationState(id, loaded, databases);
    started.push_back(loaded);
  }
  return started;
}

Reply SimGateway::Application(const std::string& token, const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Named wire{name, {}, {}};
  Named n;
  Reply r;
  if (!StoreNames(wire, n, r)) return r;
  Handle c = 0;
  std::vector<uint8_t> record(essbase::AppInfoSize(essbase::Generation::V6));
  int16_t databases = 0;
  int32_t status = Context(token, c);
  if (status == 0) status = api_.EsbGetApplicationInfo(c, n.app.c_str(), record, databases);
  if (status) return Done(token, Failed(status, "EsbGetApplicationInfo", wire));
  r.started = essbase::ReadLoadState(record, essbase::Generation::V6);
  return r;
}

Reply SimGateway::StopApplication(const std::string& token, const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Named wire{name, {}, {}};
  Named n;
  Reply r;
  if (!StoreNames(wire, n, r)) return r;
  Handle c = 0;
  int32_t status = Context(token, c);
  if (status == 0) status = api_.EsbUnloadApplication(c, n.app.c_str());
  if (status) return Done(token, Failed(status, "EsbUnloadApplication", wire));
  return r;
}

Reply SimGateway::Databases(const std::string& token, const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Named wire{name, {}, {}};
  Named n;
  Reply r;
  if (!StoreNames(wire, n, r)) return r;
  Handle c = 0;
  int16_t count = 0;
  int32_t status = Context(token, c);
  if (status == 0) status = api_.EsbListDatabases(c, n.app.c_str(), count);
  if (status == 0)
    status = Items(c, ESB_ITEM_DBNAME, count, ESB_DBNAME_WIDTH, ESB_APPNAME_WIDTH, r.names);
  if (status) return Done(token, Failed(status, "EsbListDatabases", wire));
  return r;
}

Reply SimGateway::Database(const std::string& token, const std::string& appName,
                           const std::string& dbName) {
  Named n;
  Reply refused;
  if (!StoreNames({appName, dbName, {}}, n, refused)) return refused;
  Reply r = Databases(token, appName);
  if (r.status) return r;
  for (const std::string& name : r.names)
    if (name == dbName) return {};
  return Failed(ESB_STS_UNKNOWN_DATABASE, "", {appName, dbName, {}});
}

Reply SimGateway::StartDatabase(const std::string& token, const std::string& appName,
                                const std::string& dbName) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Named wire{appName, dbName, {}};
  Named n;
  Reply r;
  if (!StoreNames(wire, n, r)) return r;
  Handle c = 0;
  int16_t access = 0;
  int32_t status = Context(token, c);
  if (status == 0) status = api_.EsbSetActive(c, n.app.c_str(), n.db.c_str(), access);
  if (status) return Done(token, Failed(status, "EsbSetActive", wire));
  return r;
}

Reply SimGateway::Filters(const std::string& token, const std::string& appName,
                          const std::string& dbName) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Named wire{appName, dbName, {}};
  Named n;
  Reply r;
  if (!StoreNames(wire, n, r)) return r;
  Handle c = 0;
  int16_t count = 0;
  int32_t status = Context(token, c);
  if (status == 0) status = api_.EsbListFilters(c, n.app.c_str(), n.db.c_str(), count);
  if (status == 0) status = Items(c, ESB_ITEM_FILTERNAME, count, ESB_FILTERNAME_WIDTH, 0, r.names);
  if (status) return Done(token, Failed(status, "EsbListFilters", wire));
  return r;
}

Reply SimGateway::Filter(const std::string& token, const std::string& appName,
                         const std::string& dbName, const std::string& filterName, bool withRows) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Named wire{appName, dbName, filterName};
  Named n;
  Reply r;
  if (!StoreNames(wire, n, r)) return r;
  Handle c = 0;
  int16_t active = 0, access = 0;
  int32_t status = Context(token, c);
  if (status == 0)
    status = api_.EsbGetFilter(c, n.app.c_str(), n.db.c_str(), n.filter.c_str(), active, access);
  if (status) return Done(token, Failed(status, "EsbGetFilter", wire));
  if (!withRows) return r;
  std::string why;
  if (int32_t rowStatus = Rows(c, r.rows, why))
    return Done(token, why.empty() ? Failed(rowStatus, "EsbGetFilterRow", wire)
                                   : Reply{rowStatus, why, {}, {}, false});
  return r;
}

Reply SimGateway::WriteFilter(const std::string& token, const std::string& appName,
                              const std::string& dbName, const std::string& filterName,
                              const std::vector<WireRow>& rows, bool create) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Named wire{appName, dbName, filterName};
  Named n;
  Reply r;
  if (!StoreNames(wire, n, r)) return r;
  // The rows are checked before the server sees any call of the write.
  std::vector<std::pair<int16_t, std::string>> texts;
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto code = essbase::AccessCode(rows[i].access);
    std::string text;
    size_t badAt = 0;
    const std::string at = "row " + std::to_string(i + 1);
    if (!code)
      return {ESB_STS_BAD_ROW, at + ": unknown access \"" + rows[i].access + "\"", {}, {}, false};
    if (!essbase::Utf8ToLatin1(rows[i].mbrSpec, text, badAt))
      return {ESB_STS_BAD_ROW,
              at + " \"" + rows[i].mbrSpec + "\" cannot be held: not Latin-1 text",
              {},
              {},
              false};
    texts.emplace_back(*code, std::move(text));
  }
  StoredFilter found;
  const int32_t existing = store_.findFilter(n.app, n.db, n.filter, found);
  if (create && existing == 0)
    return {ESB_STS_BAD_NAME, "filter \"" + filterName + "\" already exists", {}, {}, false};
  if (!create && existing == ESB_STS_UNKNOWN_FILTER)
    return Failed(ESB_STS_UNKNOWN_FILTER, "", wire);
  Handle c = 0;
  int32_t status = Context(token, c);
  if (status == 0)
    status = api_.EsbSetFilter(c, n.app.c_str(), n.db.c_str(), n.filter.c_str(),
                               essbase::FilterActive, essbase::FilterAccess);
  if (status) return Done(token, Failed(status, "EsbSetFilter", wire));
  for (size_t i = 0; i < texts.size(); ++i) {
    const int32_t rowStatus = api_.EsbSetFilterRow(c, texts[i].second.c_str(), texts[i].first);
    if (rowStatus)
      return Done(token,
                  Failed(rowStatus, "EsbSetFilterRow (row " + std::to_string(i + 1) + ")", wire));
  }
  if (int32_t closing = api_.EsbSetFilterRow(c, nullptr, essbase::FilterAccess))
    return Done(token, Failed(closing, "EsbSetFilterRow (closing)", wire));
  r.rows = rows;
  return r;
}

Reply SimGateway::DeleteFilter(const std::string& token, const std::string& appName,
                               const std::string& dbName, const std::string& filterName) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Named wire{appName, dbName, filterName};
  Named n;
  Reply r;
  if (!StoreNames(wire, n, r)) return r;
  Handle c = 0;
  int32_t status = Context(token, c);
  if (status == 0) status = api_.EsbDeleteFilter(c, n.app.c_str(), n.db.c_str(), n.filter.c_str());
  if (status) return Done(token, Failed(status, "EsbDeleteFilter", wire));
  return r;
}

}  // namespace esbsim::serve
