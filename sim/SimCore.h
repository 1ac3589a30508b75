#pragma once
// The simulated server's operations on the store's own texts (UTF-8): API
// instances, login contexts, the armed faults, and every operation of the
// client library as one call that fires its fault line and counts its
// success. Both faces run on it: the client library's (SimServer, Latin-1
// fields) and the REST front's (SimGateway, UTF-8 as stored), so a fault
// line fires on whichever face makes the call. Not thread-safe.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "essbase/FunctionRef.h"
#include "essbase/Generation.h"
#include "essbase/library/esbapin.h"
#include "sim/FaultBook.h"
#include "sim/Store.h"

namespace esbsim {

struct ServerLogin {
  std::string server, user, password;
};

// The names an operation is given; it reads those it needs (application;
// application and database; all three), trailing blanks dropped. refused: a
// face's own refusal of them, returned once the call's fault line has had its
// turn, as the server reads its arguments after taking the call.
struct Names {
  std::string app, db, filter;
  int32_t refused = 0;
};

// One item of a listing: a name, and for a database its application's.
struct Item {
  std::string_view app, name;
};

struct ApplicationState {
  std::string_view application, server;
  bool loaded = false;
  int16_t databases = 0;
  essbase::Generation generation = essbase::Generation::V6;
};

class SimCore {
 public:
  // A face's hooks: what one answers is the call's status, so a call whose
  // result the face cannot give back is no success for the fault counts.
  // Each is called, if at all, before the operation returns.
  using Prompt = essbase::FunctionRef<int32_t(std::string_view storeServer, ServerLogin& answer)>;
  using TakeItem = essbase::FunctionRef<int32_t(const Item&)>;
  using TakeState = essbase::FunctionRef<int32_t(const ApplicationState&)>;
  // May put the rows' texts in the face's own form: GetFilterRow then hands
  // them over as the check left them.
  using CheckRows = essbase::FunctionRef<int32_t(std::vector<StoredRow>& rows, size_t count)>;
  using TakeRow = essbase::FunctionRef<int32_t(const StoredRow*)>;  // null: no more rows

  SimCore();
  ~SimCore();
  SimCore(const SimCore&) = delete;
  SimCore& operator=(const SimCore&) = delete;

  int32_t Init(essbase::Generation generation, const std::string& storePath, EsbHandle& instance);
  int32_t Term(EsbHandle instance);
  // The generation an instance was initialised for (V6 when unknown).
  essbase::Generation generationOf(EsbHandle instance) const;

  int32_t Login(EsbHandle instance, const ServerLogin& who, int16_t& count, EsbHandle& context);
  // The prompt gets the store's server name and answers the credentials.
  int32_t AutoLogin(EsbHandle instance, const Prompt& prompt, int16_t& access, EsbHandle& context);
  int32_t Logout(EsbHandle context);

  // A listing announces every item; GetNextItem hands them out in order and
  // moves on whatever take answers.
  int32_t ListApplications(EsbHandle context, int16_t& count);
  int32_t ListDatabases(EsbHandle context, const Names& names, int16_t& count);
  int32_t ListFilters(EsbHandle context, const Names& names, int16_t& count);
  int32_t GetNextItem(EsbHandle context, int16_t kind, const TakeItem& take);

  int32_t GetApplicationInfo(EsbHandle context, const Names& names, const TakeState& take);
  int32_t UnloadApplication(EsbHandle context, const Names& names);
  int32_t SetActive(EsbHandle context, const Names& names, int16_t& access);

  // check sees the rows first (and may convert them): a refusal leaves no
  // rows open.
  int32_t GetFilter(EsbHandle context, const Names& names, int16_t& active, int16_t& access,
                    const CheckRows& check = nullptr);
  // A row take refuses stays pending.
  int32_t GetFilterRow(EsbHandle context, const TakeRow& take);
  int32_t SetFilter(EsbHandle context, const Names& names, int16_t active, int16_t access);
  // nullopt closes (commits) the definition; refused as for names.
  int32_t SetFilterRow(EsbHandle context, std::optional<std::string_view> row, int16_t access,
                       int32_t refused = 0);
  int32_t DeleteFilter(EsbHandle context, const Names& names);

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
    // Pending listing, served in order.
    int16_t itemKind = 0;
    std::string itemApp;  // a database listing's application
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
  int32_t CheckLogin(Instance& in, const ServerLogin& who, int16_t& access);
  EsbHandle NewContext(EsbHandle instance, int16_t access);
  void StartListing(Context& c, int16_t kind, std::vector<std::string> items,
                    std::string app = {});

  std::map<EsbHandle, std::unique_ptr<Instance>> instances_;
  std::map<EsbHandle, Context> contexts_;
  EsbHandle nextHandle_ = 0x100;
  int64_t initSuccesses_ = 0;  // EsbInit has no instance yet: counted per core
};

}  // namespace esbsim
