#pragma once
// The simulated server as the client library's C ABI shows it: raw buffers
// and Latin-1 fields over the server's own operations (SimCore), converted
// both ways. What a field cannot hold is refused item by item: a listed name
// with ESB_STS_NAME_NOT_HELD, a filter with a row outside Latin-1 with
// ESB_STS_ROW_NOT_HELD. Not thread-safe: the C entry points serialise calls.
#include <cstdint>
#include <string>
#include <vector>

#include "essbase/Generation.h"
#include "essbase/library/esbapin.h"
#include "sim/SimCore.h"

namespace esbsim {

class SimServer {
 public:
  SimServer();
  ~SimServer();
  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  int32_t Init(const void* record, EsbHandle* instance);
  int32_t Term(EsbHandle instance);
  int32_t AutoLogin(EsbHandle instance, char* server, char* user, char* password, char* application,
                    char* database, int16_t options, int16_t* access, EsbHandle* context);
  int32_t Login(EsbHandle instance, const char* server, const char* user, const char* password,
                int16_t* count, EsbHandle* context);
  int32_t Logout(EsbHandle context);
  int32_t ListApplications(EsbHandle context, int16_t* count);
  int32_t ListDatabases(EsbHandle context, const char* application, int16_t* count);
  int32_t GetNextItem(EsbHandle context, int16_t kind, char* buffer);
  int32_t GetApplicationInfo(EsbHandle context, const char* application, void* record,
                             int16_t* databases);
  int32_t UnloadApplication(EsbHandle context, const char* application);
  int32_t SetActive(EsbHandle context, const char* application, const char* database,
                    int16_t* access);
  int32_t ListFilters(EsbHandle context, const char* application, const char* database,
                      int16_t* count);
  int32_t GetFilter(EsbHandle context, const char* application, const char* database,
                    const char* filter, int16_t* active, int16_t* access);
  int32_t GetFilterRow(EsbHandle context, char* row, int32_t length, int16_t* access);
  int32_t SetFilter(EsbHandle context, const char* application, const char* database,
                    const char* filter, int16_t active, int16_t access);
  int32_t SetFilterRow(EsbHandle context, const char* row, int16_t access);
  int32_t DeleteFilter(EsbHandle context, const char* application, const char* database,
                       const char* filter);
  void SetLoginPrompt(EsbSimLoginPrompt prompt, void* userData);

  // The generation an instance was initialised for (V6 when unknown).
  essbase::Generation generationOf(EsbHandle instance) const;

 private:
  SimCore core_;
  EsbSimLoginPrompt prompt_ = nullptr;
  void* promptData_ = nullptr;
  // Rows on their way in, reused: rows come and go by the million. (Rows on
  // their way out are made Latin-1 where they lie, by GetFilter's check.)
  std::string utf8_;
  // Rows of open reads that fit Latin-1 but are no UTF-8 (a store written by
  // other hands may hold them): GetFilter gives the filter, GetFilterRow
  // refuses such a row. Each successful check renews its own rows' entries.
  std::vector<const StoredRow*> notUtf8_;
};

}  // namespace esbsim
