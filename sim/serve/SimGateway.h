#pragma once
// The simulated server's own operations behind the REST front: one API
// instance, one login context per server session, every request a short run
// of the server's operations under one lock (e.g. Update Filter =
// EsbSetFilter, one EsbSetFilterRow per row, the closing call), so that the
// store's fault lines fire where they would through the library. Names and
// rows come and go as the store holds them, in UTF-8, without the client
// library's Latin-1 fields in between. A call that answers 1051021 ends its
// session, as a server that dropped the login does.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "sim/SimCore.h"
#include "sim/Store.h"
#include "sim/serve/SessionTable.h"

namespace esbsim::serve {

struct Credentials {
  std::string user, password;
};

struct WireRow {
  std::string access, mbrSpec;
};

struct Reply {
  int32_t status = 0;              // an ESB_STS_* (or a fault's) status; 0 on success
  std::string message;             // why, for the error body
  std::vector<std::string> names;  // a listing
  std::vector<WireRow> rows;       // a filter's rows
  bool started = false;            // an application's load state
};

struct SessionView {
  std::string user;
  uint32_t number = 0;
  std::string source;
  long seconds = 0;  // since the login
};

class SimGateway {
 public:
  // Opens an API instance over the store.
  bool Open(const std::string& storePath, std::string& error);

  // EsbLogin and a new session; token is its cookie value.
  Reply Login(const Credentials& who, const std::string& source, std::string& token);
  bool Live(const std::string& token);
  // EsbLogout; the session ends whatever the call answers.
  Reply Logout(const std::string& token);
  // The session's user, in names[0], and the access the store grants it.
  Reply User(const std::string& token, int16_t& access);
  Reply Sessions(const std::string& token, std::vector<SessionView>& sessions);

  Reply Applications(const std::string& token);
  // Read from the store, not through the API: a listing's detail, which a
  // fault line on EsbGetApplicationInfo must not fail.
  std::vector<bool> Started(const std::vector<std::string>& apps);
  Reply Application(const std::string& token, const std::string& app);
  Reply StopApplication(const std::string& token, const std::string& app);
  Reply Databases(const std::string& token, const std::string& app);
  // One database: the application's listing (EsbListDatabases) holding it.
  Reply Database(const std::string& token, const std::string& app, const std::string& db);
  Reply StartDatabase(const std::string& token, const std::string& app, const std::string& db);
  Reply Filters(const std::string& token, const std::string& app, const std::string& db);
  // withRows: the rows as well (EsbGetFilterRow after EsbGetFilter).
  Reply Filter(const std::string& token, const std::string& app, const std::string& db,
               const std::string& filter, bool withRows);
  // create: refused when the filter exists; else refused when it does not.
  Reply WriteFilter(const std::string& token, const std::string& app, const std::string& db,
                    const std::string& filter, const std::vector<WireRow>& rows, bool create);
  Reply DeleteFilter(const std::string& token, const std::string& app, const std::string& db,
                     const std::string& filter);

 private:
  using Handle = EsbHandle;
  // The session's context; 1051021 when the session is gone.
  int32_t Context(const std::string& token, Handle& context);
  // A 1051021 ends the session: its cookie is refused from then on.
  Reply Done(const std::string& token, Reply reply);
  int32_t Items(Handle context, int16_t kind, int16_t count, std::vector<std::string>& names);
  int32_t Rows(Handle context, std::vector<WireRow>& rows, std::string& why);

  std::mutex mutex_;
  SimCore core_;
  Store store_;  // the server's name, whether a filter exists, load states
  Handle instance_ = 0;
  SessionTable sessions_;
};

}  // namespace esbsim::serve
