#pragma once
// The server interface over the documented Essbase REST API, native to it:
// a filter is read with one request per page of its rows and written with
// one request; lists come page by page; several requests are in flight at
// once (Traffic). Names and rows are UTF-8 on both sides: nothing is
// converted, only checked.
//   - LogIn asks for the session with basic authentication and keeps the
//     server's session cookie for every later request of the login, so a
//     login is one session on the server. A server that sets no cookie is
//     sent the credentials with every request instead.
//   - A filter has no active flag or access of its own over REST: a read one
//     has FilterActive and FilterAccess, and a written one's are not sent.
//   - A server that gave no answer is unreachable until the next LogIn:
//     every call fails at once with the failure that found it so.
// Thread-compatible: one thread per instance.
#include <memory>
#include <optional>
#include <string>

#include "essbase/Server.h"
#include "essbase/rest/Judge.h"
#include "essbase/rest/http/HttpClient.h"
#include "essbase/rest/json/RestJson.h"

namespace essbase::rest {

class RestServer final : public Server {
 public:
  // On the platform's HTTP client.
  RestServer();
  explicit RestServer(std::unique_ptr<http::Client> client);
  ~RestServer() override;
  RestServer(const RestServer&) = delete;
  RestServer& operator=(const RestServer&) = delete;

  bool OverRest() const override { return true; }
  Failure Start(Generation, std::string_view) override { return {}; }
  void End() override {}
  Failure LogIn(const Credentials& credentials) override;
  Failure LogOut() override;

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

  // For the parts of this backend.
  http::Client& http() { return *http_; }
  const Judge& judge() const { return judge_; }
  const std::string& base() const { return base_; }
  bool basicEach() const { return basicEach_; }
  // What `step` meets before any request: not logged in, or the server
  // found unreachable; status 0 when it may go ahead.
  Failure Entry(Step step, std::string_view filter = {}) const;
  void SetUnreachable(const Failure& failure);
  // Why a request of `call` could not be sent: never a success.
  Failure Unsent(const Call& call) const;
  // One request of `call` through Traffic; the 2xx answer in `answer`.
  Failure Exchange(const Call& call, const http::Request& request, http::Response& answer);
  // A whole list below the base; what was read before a failure is kept.
  Failure List(const Call& call, const std::string& path, std::vector<NameItem>& items);

 private:
  std::unique_ptr<http::Client> http_;
  Judge judge_;
  std::string base_;  // empty when not logged in
  bool basicEach_ = false;
  std::optional<Failure> unreachable_;
};

}  // namespace essbase::rest
