// The operations on applications, databases and filters, through the
// library's Latin-1 fields.
#include <algorithm>
#include <cstring>
#include <functional>

#include "essbase/library/AppInfoRecord.h"
#include "sim/LatinFields.h"
#include "sim/Names.h"
#include "sim/SimServer.h"
#include "sim/Utf8.h"

namespace esbsim {

int32_t SimServer::ListApplications(EsbHandle context, int16_t* count) {
  if (!count) return ESB_STS_NULL_ARGUMENT;
  return core_.ListApplications(context, *count);
}

int32_t SimServer::ListDatabases(EsbHandle context, const char* application, int16_t* count) {
  if (!count) return ESB_STS_NULL_ARGUMENT;
  return core_.ListDatabases(context, ApplicationArgument(application), *count);
}

int32_t SimServer::GetNextItem(EsbHandle context, int16_t kind, char* buffer) {
  if (!buffer) return ESB_STS_NULL_ARGUMENT;
  return core_.GetNextItem(context, kind,
                           [&](const Item& item) { return PutItem(kind, item, buffer); });
}

int32_t SimServer::GetApplicationInfo(EsbHandle context, const char* application, void* record,
                                      int16_t* databases) {
  if (!record || !databases) return ESB_STS_NULL_ARGUMENT;
  auto put = [&](const ApplicationState& state) -> int32_t {
    std::string app, server;
    if (!FitsField(state.application, ESB_APPNAME_WIDTH, app) ||
        !FitsField(state.server, ESB_NAME_WIDTH, server))
      return ESB_STS_NAME_NOT_HELD;
    const auto g = state.generation;
    essbase::AppInfo info;
    info.application = app;
    info.server = server;
    info.loaded = state.loaded;
    info.databases = static_cast<uint16_t>(state.databases);
    essbase::WriteAppInfo(std::span<uint8_t>(static_cast<uint8_t*>(record), AppInfoSize(g)), g,
                          info);
    *databases = state.databases;
    return 0;
  };
  return core_.GetApplicationInfo(context, ApplicationArgument(application), put);
}

int32_t SimServer::UnloadApplication(EsbHandle context, const char* application) {
  return core_.UnloadApplication(context, ApplicationArgument(application));
}

int32_t SimServer::SetActive(EsbHandle context, const char* application, const char* database,
                             int16_t* access) {
  if (!access) return ESB_STS_NULL_ARGUMENT;
  return core_.SetActive(context, DatabaseArguments(application, database), *access);
}

int32_t SimServer::ListFilters(EsbHandle context, const char* application, const char* database,
                               int16_t* count) {
  if (!count) return ESB_STS_NULL_ARGUMENT;
  return core_.ListFilters(context, DatabaseArguments(application, database), *count);
}

int32_t SimServer::GetFilter(EsbHandle context, const char* application, const char* database,
                             const char* filter, int16_t* active, int16_t* access) {
  if (!active || !access) return ESB_STS_NULL_ARGUMENT;
  // A filter is given whole or not at all: a row the buffer could only hold
  // cut or altered would change what the filter grants. Each row is made
  // Latin-1 here, once, for GetFilterRow to copy as it is.
  auto held = [this](std::vector<StoredRow>& rows, size_t count) -> int32_t {
    if (!notUtf8_.empty()) {
      const std::less<const StoredRow*> before;
      const StoredRow* first = rows.data();
      const StoredRow* end = first + rows.size();
      std::erase_if(notUtf8_,
                    [&](const StoredRow* r) { return !before(r, first) && before(r, end); });
    }
    for (size_t i = 0; i < count; ++i) {
      switch (ToLatin1InPlace(rows[i].text)) {
        case InPlace::Latin1: break;
        case InPlace::NotLatin1: return ESB_STS_ROW_NOT_HELD;
        case InPlace::NotUtf8: notUtf8_.push_back(&rows[i]); break;
      }
    }
    return 0;
  };
  return core_.GetFilter(context, FilterArguments(application, database, filter), *active, *access,
                         held);
}

int32_t SimServer::GetFilterRow(EsbHandle context, char* row, int32_t length, int16_t* access) {
  if (!row || !access) return ESB_STS_NULL_ARGUMENT;
  auto put = [&](const StoredRow* r) -> int32_t {
    if (length <= 0) return ESB_STS_BUFFER_TOO_SMALL;
    if (!r) {
      row[0] = '\0';
      *access = 0;
      return 0;
    }
    // The text is Latin-1 already (GetFilter's check).
    if (!notUtf8_.empty() && std::find(notUtf8_.begin(), notUtf8_.end(), r) != notUtf8_.end())
      return ESB_STS_ROW_NOT_HELD;
    const std::string& latin1 = r->text;
    if (latin1.size() >= static_cast<size_t>(length)) return ESB_STS_BUFFER_TOO_SMALL;
    std::memcpy(row, latin1.c_str(), latin1.size() + 1);
    *access = r->access;
    return 0;
  };
  return core_.GetFilterRow(context, put);
}

int32_t SimServer::SetFilter(EsbHandle context, const char* application, const char* database,
                             const char* filter, int16_t active, int16_t access) {
  return core_.SetFilter(context, FilterArguments(application, database, filter), active, access);
}

int32_t SimServer::SetFilterRow(EsbHandle context, const char* row, int16_t access) {
  if (!row) return core_.SetFilterRow(context, std::nullopt, access);
  // One byte past the longest row tells a row too long without reading it all.
  const size_t n = strnlen(row, MaxRowText + 1);
  if (n > MaxRowText) return core_.SetFilterRow(context, "", access, ESB_STS_BAD_ROW);
  Latin1ToUtf8(std::string_view(row, n), utf8_);
  return core_.SetFilterRow(context, utf8_, access);
}

int32_t SimServer::DeleteFilter(EsbHandle context, const char* application, const char* database,
                                const char* filter) {
  return core_.DeleteFilter(context, FilterArguments(application, database, filter));
}

}  // namespace esbsim
