#pragma once
// The server interface over the client library's C ABI (EssbaseApi). It
// makes exactly the calls the programs' descriptions name, in their order
// and with their buffers: a listing is EsbListFilters and one EsbGetNextItem
// per name, a read EsbGetFilter and its rows, a write EsbSetFilter, one
// EsbSetFilterRow per row and the closing EsbSetFilterRow. Every call's
// status is kept in the connection record, as the descriptions have it.
//
// Texts cross as Latin-1 in fixed fields: application and database names of
// at most 8 characters, filter names of at most 30; what they cannot hold is
// refused item by item with ESB_STS_BAD_NAME (or ESB_STS_BAD_ROW) and a text
// naming it and the limit, never cut or replaced.
//
// A definition a write leaves open (a call failed, or rows were lost) is
// never committed by a later call: before the next write call the login is
// ended and made again with the same credentials (DefinitionGuard).
#include <optional>

#include "essbase/ConnectionState.h"
#include "essbase/FunctionRef.h"
#include "essbase/Server.h"
#include "essbase/library/DefinitionGuard.h"
#include "essbase/library/EssbaseApi.h"

namespace essbase {

class LibraryServer final : public Server {
 public:
  // The connection record holds the instance, the context, the stored
  // credentials and each call's status.
  LibraryServer(EssbaseApi& api, ConnectionState& conn);
  ~LibraryServer() override;
  LibraryServer(const LibraryServer&) = delete;
  LibraryServer& operator=(const LibraryServer&) = delete;

  bool OverRest() const override { return false; }
  Failure Start(Generation generation, std::string_view localPath) override;
  void End() override;
  Failure LogIn(const Credentials& credentials) override;
  Failure LogOut() override;
  bool SetLoginPrompt(LoginPrompt prompt) override;
  Failure PromptLogIn(std::optional<Credentials>& elsewhere) override;

  Failure ListApplications(std::vector<Application>& applications) override;
  Failure ApplicationLoaded(const std::string& application, bool& loaded) override;
  Failure ListDatabases(const std::string& application, std::vector<Database>& databases) override;
  Failure ListFilters(const Database& db, std::vector<std::string>& names) override;
  Failure Activate(const Database& db) override;
  Failure StopApplication(const std::string& application) override;

  Failure ReadFilters(const Database& db, const std::vector<std::string>& names,
                      const ReadOptions& options, FilterReceiver& receiver) override;
  Failure ReadDatabase(const Database& db, const Wanted& wanted, const ReadOptions& options,
                       FilterReceiver& receiver) override;
  std::unique_ptr<Writes> StartWrites(WriteReceiver& receiver,
                                      const WriteOptions& options) override;

  // For the writes of this backend (LibraryWrites.cpp).
  EssbaseApi& api() { return api_; }
  ConnectionState& conn() { return conn_; }
  DefinitionGuard& definitions() { return definitions_; }
  // Makes one call with the current context and keeps its status; an ended
  // login ends what was open on it.
  int32_t Call(FunctionRef<int32_t(Handle context)> call);
  // Call, and on ReloginStatus, when the command's policy repeats `step`,
  // logs in again and makes it once more.
  int32_t CallRepeating(Step step, FunctionRef<int32_t(Handle context)> call);
  // Call for a write call: a definition left open is discarded first; when
  // that fails the call is not made and that failure's status is its own.
  int32_t CallWrite(FunctionRef<int32_t(Handle context)> call);

 private:
  struct Read;
  // The names of a listing already made, one EsbGetNextItem each.
  Failure NextFilterName(std::string& name);
  // EsbListFilters under the listing's policy; its names follow by
  // NextFilterName.
  Failure StartFilterListing(const Database& db, int16_t& count);
  Failure ReadOne(const Database& db, const std::string& name, Read& read, Filter& filter);
  // The host prompt's side of the library's prompt (EsbSimLoginPrompt).
  static int32_t AskHost(void* self, char* server, char* user, char* password);
  int32_t LogInAgainQuietly();

  EssbaseApi& api_;
  ConnectionState& conn_;
  Generation generation_ = Generation::V6;
  DefinitionGuard definitions_;
  LoginPrompt prompt_;
  bool promptLent_ = false;
  // What the host's prompt answered with a server the library cannot reach.
  std::optional<Credentials> elsewhere_;
};

// What a status of the client library's own refusals means, for a failure's
// detail; empty for any other status.
std::string NotHeldDetail(int32_t status);

// A name for a field of `width` Latin-1 characters, or the failure that
// names it and the limit (ESB_STS_BAD_NAME). `what` is "application",
// "database" or "filter".
bool LibraryName(std::string_view utf8, size_t width, const char* what, std::string& latin1,
                 Failure& failure);

// A database's names, and a filter's when `filter` is given, for their
// fields; false with the failure of the first that does not fit.
struct LatinNames {
  std::string app, db, filter;
};
bool LibraryNames(const Database& db, const std::string* filter, LatinNames& out, Failure& failure);

}  // namespace essbase
