#pragma once
// The simulated server behind the client library's C ABI: API instances,
// login contexts and every operation, with the ABI's raw buffers. Not
// thread-safe: the C entry points serialise calls.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "essbase/Generation.h"
#include "essbase/library/esbapin.h"
#include "sim/FaultBook.h"
#include "sim/Store.h"

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
  struct Instance {
    Store store;
    essbase::Generation generation = essbase::Generation::V6;
    FaultBook faults;
  };
  struct Context {
    EsbHandle instance = 0;
    int16_t access = 0;
    bool ended = false;  // dropped by the server: every call asks for a new login
    // Pending listing: fields of the item width, served in order.
    int16_t itemKind = 0;
    std::vector<std::string> items;
    size_t nextItem = 0;
    // Rows opened by GetFilter.
    bool reading = false;
    std::vector<StoredRow> readRows;  // reused: the first readCount are current
    size_t readCount = 0;
    size_t nextRow = 0;
    // Definition opened by SetFilter, committed by the closing row call.
    bool writing = false;
    std::string app, db, filter;
    int16_t active = 0, filterAccess = 0;
    std::vector<StoredRow> writeRows;  // reused: the first writeCount are current
    size_t writeCount = 0;
  };
  struct Call {
    int32_t status = 0;  // non-zero: return it at once
    Context* context = nullptr;
    Instance* instance = nullptr;
  };

  // Finds the context, refuses an ended one and fires an armed fault.
  Call Enter(EsbHandle context, Operation op, bool refresh = true);
  Call EnterInstance(EsbHandle instance, Operation op);
  // Counts a successful call for the fault counts.
  int32_t Leave(const Call& call, Operation op, int32_t status);
  void Forget(Context& c);
  int32_t CheckLogin(Instance& in, const std::string& server, const std::string& user,
                     const std::string& password, int16_t& access);
  EsbHandle NewContext(EsbHandle instance, int16_t access);
  void StartListing(Context& c, int16_t kind, std::vector<std::string> items);

  std::map<EsbHandle, std::unique_ptr<Instance>> instances_;
  std::map<EsbHandle, Context> contexts_;
  EsbHandle nextHandle_ = 0x100;
  int64_t initSuccesses_ = 0;  // EsbInit has no instance yet: counted per library
  EsbSimLoginPrompt prompt_ = nullptr;
  void* promptData_ = nullptr;
};

}  // namespace esbsim
