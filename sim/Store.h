#pragma once
// The simulated server's content in one SQLite file shared by every process
// that uses it, its texts in UTF-8. Each method returns an ESB_STS_* status
// (0 on success); any SQLite failure is ESB_STS_STORE_FAILURE.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/SqliteDb.h"

namespace esbsim {

struct StoredRow {
  int16_t access = 0;
  std::string text;
};

struct StoredFilter {
  int64_t id = 0;
  int16_t active = 0;
  int16_t access = 0;
};

struct StoredFault {
  int64_t id = 0;
  std::string operation;
  int32_t status = 0;
  int64_t after = 0;
  int64_t times = 0;
};

// Longest listing a 16-bit count can announce.
constexpr size_t MaxListing = 32767;

class Store {
 public:
  // The store named by ESBSIM_STORE, else the per-user default location.
  static std::string DefaultPath();

  // Opens path, creating missing folders and the schema. A store without
  // content gets the demo server when seedDemo is set; one of the earlier
  // Latin-1 kind is converted to UTF-8 once, in one transaction.
  int32_t open(const std::string& path, bool seedDemo);
  SqliteDb& db() { return db_; }
  std::string error() const { return problem_.empty() ? db_.error() : problem_; }

  // Changes when another connection commits (cheap: no file read).
  int64_t dataVersion();

  int32_t serverName(std::string& name);
  // ESB_STS_BAD_LOGIN unless the user exists with that password.
  int32_t checkUser(std::string_view user, std::string_view password, int16_t& access);

  int32_t findApplication(std::string_view app, int64_t& id);
  int32_t findDatabase(std::string_view app, std::string_view db, int64_t& id);
  int32_t findFilter(std::string_view app, std::string_view db, std::string_view filter,
                     StoredFilter& found);

  // Names in creation order; ESB_STS_TOO_MANY_ITEMS past MaxListing.
  int32_t listApplications(std::vector<std::string>& names);
  int32_t listDatabases(int64_t app, std::vector<std::string>& names);
  int32_t listFilters(int64_t db, std::vector<std::string>& names);
  int32_t countApplications(int16_t& count);

  int32_t applicationState(int64_t app, bool& loaded, int16_t& databases);
  int32_t setLoaded(int64_t app, bool loaded);

  // A filter and its rows, as one state of the store holds them. rows is
  // reused (its first count entries are the filter's rows) so that reading
  // filter after filter does not allocate afresh.
  int32_t openFilter(std::string_view app, std::string_view db, std::string_view filter,
                     StoredFilter& found, std::vector<StoredRow>& rows, size_t& count);
  // Creates or replaces (keeping its listing place) a filter with the first
  // count rows, in one transaction. BAD_NAME or BAD_ROW for a text the
  // server does not hold (see Names.h).
  int32_t commitFilter(std::string_view app, std::string_view db, std::string_view name,
                       int16_t active, int16_t access, const std::vector<StoredRow>& rows,
                       size_t count);
  int32_t deleteFilter(std::string_view app, std::string_view db, std::string_view filter);

  int32_t readFaults(std::vector<StoredFault>& faults);
  // One firing of a fault with a limited count: the count drops, and a spent
  // fault leaves the store.
  int32_t spendFault(int64_t id);

 private:
  SqliteDb db_;
  std::string problem_;  // why open failed, where SQLite has nothing to say
};

// Statements shared with the description loader and printer.
namespace sql {
extern const char* const kSchema;
extern const char* const kInsertServer;
extern const char* const kInsertUser;
extern const char* const kInsertApp;
extern const char* const kInsertDb;
extern const char* const kInsertFilter;
extern const char* const kInsertRow;
extern const char* const kInsertFault;
extern const char* const kClearAll;
}  // namespace sql

}  // namespace esbsim
