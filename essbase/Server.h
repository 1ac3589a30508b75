#pragma once
// The server as the programs think of it: applications, databases and their
// filters, each filter read and written whole. Two backends implement it:
// the client library's C ABI (essbase/library/) and the REST API
// (essbase/rest/). Names and row texts are UTF-8 strings of any length here;
// each backend converts at its own edge and refuses, item by item, what its
// server cannot hold. Failures are values (Failure.h); nothing is thrown.
//
// A backend that meets an ended login asks the command's LoginAgain
// (Policy.h), which its session sets, whether to log in again and repeat.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "essbase/Constants.h"
#include "essbase/Failure.h"
#include "essbase/Generation.h"
#include "essbase/Policy.h"

namespace essbase {

struct Credentials {
  std::string server;
  std::string user;
  std::string password;
};

struct Database {
  std::string application;
  std::string database;
  bool operator==(const Database&) const = default;
};

struct Application {
  std::string name;
  std::optional<bool> loaded;  // when the listing tells
};

struct FilterRow {
  int16_t access = 0;
  std::string text;
  bool operator==(const FilterRow&) const = default;
};

struct Filter {
  std::string name;
  int16_t active = FilterActive;
  int16_t access = FilterAccess;
  std::vector<FilterRow> rows;
};

struct ReadOptions {
  // The client library's row buffer (the desktop's 3000, QuorvelCL's 512);
  // a longer row is read again whole. Over REST a filter is one answer.
  size_t rowBuffer = DesktopRowBuffer;
  // The client library's path reads every listed filter, wanted or not, as
  // Export's description has it; over REST only wanted ones are fetched.
  bool readUnwanted = false;
};

class FilterReceiver {
 public:
  virtual ~FilterReceiver() = default;
  // One filter, read whole, in the order asked. False stops the reading
  // there: nothing more is read and the read succeeds.
  virtual bool Receive(const Database& db, Filter& filter) = 0;
  // The client library's path: the rows read of a wanted filter whose next
  // row could not be read; the read's failure follows. (An export keeps the
  // records written before a failure.)
  virtual void Partial(const Database& /*db*/, const Filter& /*filter*/) {}
};

struct WriteOptions {
  // The client library's path: a write whose call failed goes on with its
  // remaining calls (Import, Restore) rather than stopping at the failure
  // (Change). Either way the filter is then not committed.
  bool carryOn = true;
  // The client library's path: Finish makes the closing call when no filter
  // was written (an import of a file without records).
  bool closeWhenEmpty = false;
};

// A write call that failed for good on the client library's path, and where:
// -1 the opening call, n the n-th row (from 0), the row count the closing call.
struct FailedCall {
  int64_t place = 0;
  int32_t status = 0;
};

struct WriteOutcome {
  enum class Kind { Write, Delete, Close };
  Kind kind = Kind::Write;
  Database db;
  std::string name;
  // The server holds the definition sent (a write) or no longer holds the
  // filter (a deletion).
  bool done = false;
  Failure failure;  // why not done, when a step failed
  // Never sent: an earlier step found the server gone (failure says why).
  bool skipped = false;
  // The client library's path: every call of it that failed, in call order.
  std::vector<FailedCall> failedCalls;
};

class WriteReceiver {
 public:
  virtual ~WriteReceiver() = default;
  // Each outcome, in the order the writes were asked for.
  virtual void Outcome(WriteOutcome& outcome) = 0;
};

// A run of writes and deletions. The client library's path makes each at
// once; over REST several are in flight, never two of one filter, so that a
// name written twice still ends with its later definition.
class Writes {
 public:
  virtual ~Writes() = default;
  // lostRows: the filter lost rows on its way here (a passed-over line): it
  // must not replace what the server holds. The client library's path makes
  // its calls all the same but never commits it; over REST nothing is sent.
  virtual void Write(const Database& db, Filter filter, bool lostRows = false) = 0;
  virtual void Delete(const Database& db, std::string name) = 0;
  // Returns once every outcome has been received.
  virtual void Finish() = 0;
};

// The host's login prompt: shows the server, user and password offered and
// answers them; 0, or the status of a cancel (LoginCancelled) or failure.
using LoginPrompt =
    std::function<int32_t(std::string& server, std::string& user, std::string& password)>;

// Whether the listed filter is wanted.
using Wanted = std::function<bool(std::string_view filter)>;

class Server {
 public:
  virtual ~Server() = default;

  virtual bool OverRest() const = 0;

  // The client library's initialisation and end (EsbInit, EsbTerm); over
  // REST nothing is started.
  virtual Failure Start(Generation generation, std::string_view localPath) = 0;
  virtual void End() = 0;

  // Logs in with these credentials; replaces the login the backend held.
  virtual Failure LogIn(const Credentials& credentials) = 0;
  virtual Failure LogOut() = 0;
  // Lends the host's prompt to a client library that shows a login prompt
  // of its own; false when it does not take one.
  virtual bool SetLoginPrompt(LoginPrompt /*prompt*/) { return false; }
  // The client library's own login prompt. An answer naming a server the
  // backend does not serve (a URL) comes back in `elsewhere`, not logged in.
  virtual Failure PromptLogIn(std::optional<Credentials>& /*elsewhere*/) {
    return FailureOf(Step::LogIn, LoginCancelled);
  }

  // Listings keep what was read before a failure.
  virtual Failure ListApplications(std::vector<Application>& applications) = 0;
  virtual Failure ApplicationLoaded(const std::string& application, bool& loaded) = 0;
  // Pairs, as the server names them.
  virtual Failure ListDatabases(const std::string& application,
                                std::vector<Database>& databases) = 0;
  virtual Failure ListFilters(const Database& db, std::vector<std::string>& names) = 0;
  // Starts the database (and so its application).
  virtual Failure Activate(const Database& db) = 0;
  virtual Failure StopApplication(const std::string& application) = 0;

  // The named filters, in order; stops at the first failure.
  virtual Failure ReadFilters(const Database& db, const std::vector<std::string>& names,
                              const ReadOptions& options, FilterReceiver& receiver) = 0;
  // The database's wanted filters, in listing order; stops at the first
  // failure.
  virtual Failure ReadDatabase(const Database& db, const Wanted& wanted,
                               const ReadOptions& options, FilterReceiver& receiver) = 0;

  virtual std::unique_ptr<Writes> StartWrites(WriteReceiver& receiver,
                                              const WriteOptions& options) = 0;

  // One write or deletion on its own.
  WriteOutcome WriteFilter(const Database& db, Filter filter, const WriteOptions& options = {});
  WriteOutcome DeleteFilter(const Database& db, std::string name);

  // The command's way to log in again; the session sets it.
  void SetLoginAgain(LoginAgain* again) { again_ = again ? again : &none_; }
  LoginAgain& again() { return *again_; }

 private:
  NoLoginAgain none_;
  LoginAgain* again_ = &none_;
};

}  // namespace essbase
