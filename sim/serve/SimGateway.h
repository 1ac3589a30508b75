#pragma once
// The simulated server's own operations behind the REST front: one API
// instance, one login context per user and password, every request a short
// run of C ABI calls under one lock (e.g. Update Filter = EsbSetFilter, one
// EsbSetFilterRow per row, the closing call), so that the store's fault lines
// fire where they would through the library. Names and texts come and go as
// UTF-8 and meet the store as Latin-1.
#include <cstdint>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "sim/SimApi.h"
#include "sim/Store.h"

namespace esbsim::serve {

struct Credentials {
  std::string user, password;
};

struct Reply {
  int32_t status = 0;   // an ESB_STS_* (or a fault's) status; 0 on success
  std::string message;  // why, for the error body
  nlohmann::json body;  // the answer on success
};

struct WireRow {
  std::string access, mbrSpec;
};

class SimGateway {
 public:
  // Opens an API instance over the store (ESBSIM_STORE is set to it).
  bool Open(const std::string& storePath, std::string& error);

  Reply Session(const Credentials& who);
  Reply Applications(const Credentials& who, size_t offset, size_t limit);
  Reply Application(const Credentials& who, const std::string& app);
  Reply StopApplication(const Credentials& who, const std::string& app);
  Reply Databases(const Credentials& who, const std::string& app);
  Reply StartDatabase(const Credentials& who, const std::string& app, const std::string& db);
  Reply Filters(const Credentials& who, const std::string& app, const std::string& db);
  // rowsOnly: the rows list alone, else the filter with its rows.
  Reply Filter(const Credentials& who, const std::string& app, const std::string& db,
               const std::string& filter, bool rowsOnly);
  // create: refused when the filter exists; else refused when it does not.
  Reply WriteFilter(const Credentials& who, const std::string& app, const std::string& db,
                    const std::string& filter, const std::vector<WireRow>& rows, bool create);
  Reply DeleteFilter(const Credentials& who, const std::string& app, const std::string& db,
                     const std::string& filter);

 private:
  using Handle = essbase::Handle;
  // The context of the credentials, logging in when there is none.
  int32_t Context(const Credentials& who, Handle& context);
  // A RELOGIN ends the credentials' context: the next request logs in anew.
  Reply Done(const Credentials& who, Reply reply);
  int32_t Items(Handle context, int16_t kind, int16_t count, size_t width, size_t skip,
                std::vector<std::string>& names);
  int32_t Rows(Handle context, nlohmann::json& rows, std::string& why);

  std::mutex mutex_;
  SimApi api_;
  Store store_;  // the server's name and whether a filter exists
  Handle instance_ = 0;
  std::map<std::string, Handle> contexts_;
};

}  // namespace esbsim::serve
