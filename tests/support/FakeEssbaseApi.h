#pragma once
// A recording, scriptable stand-in for the client library, for module tests.
// It keeps a small in-memory server (applications, databases, filters, rows),
// records every call as text (context left out, except for EsbLogout/EsbTerm
// whose only argument it is) and fails a chosen operation on cue.
//
// Login contexts behave as the simulated server's: each keeps its own pending
// listing and open read or write; a logged-out context, or one of a
// terminated instance, is refused; a call that fails with 1051021 ends its
// context, forgetting what was open, and every later call on it answers
// 1051021 until a new login. A context the fake never issued (a test's own
// handle) counts as a login made before the test.
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "essbase/library/EssbaseApi.h"
#include "essbase/library/Operation.h"

namespace essbase::testing {

struct FakeRow {
  int16_t access = 0;
  std::string text;
};

struct FakeFilter {
  std::string name;
  int16_t active = 1;
  int16_t access = FilterAccess;
  std::vector<FakeRow> rows;
};

struct FakeDatabase {
  std::string name;
  std::vector<FakeFilter> filters;
};

struct FakeApplication {
  std::string name;
  bool loaded = true;
  std::vector<FakeDatabase> databases;
};

struct FakeCall {
  Operation operation;
  std::string name;
  std::vector<std::string> args;
  Handle context = 0;
  std::string text() const;  // Name(arg,arg,...)
};

// What the login prompt answers at the next EsbAutoLogin.
struct FakeLoginAnswer {
  int32_t status = 0;
  std::string server = "fakesrv";
  std::string user = "admin";
  std::string password = "secret";
  int16_t access = AccessWrite;
};

class FakeEssbaseApi : public EssbaseApi {
 public:
  FakeEssbaseApi() = default;

  // Content.
  FakeApplication& AddApplication(const std::string& name, bool loaded = true);
  FakeDatabase& AddDatabase(const std::string& app, const std::string& db);
  FakeFilter& AddFilter(const std::string& app, const std::string& db, const std::string& name,
                        std::vector<FakeRow> rows = {});
  FakeApplication* FindApplication(const std::string& app);
  FakeDatabase* FindDatabase(const std::string& app, const std::string& db);
  FakeFilter* FindFilter(const std::string& app, const std::string& db, const std::string& name);
  std::vector<FakeApplication> applications;
  // Raw application-information records served as they are (the bytes the
  // caller's buffer receives, cut to its size), by application name.
  std::map<std::string, std::vector<uint8_t>> rawAppInfo;

  // Scripting: after `after` successful calls of `operation`, the next
  // `times` calls (0 = all) return `status` without doing anything.
  void Fail(Operation operation, int32_t status, int after = 0, int times = 1);
  // The same by the operation's name; an unknown name is a test's mistake.
  void Fail(const std::string& operation, int32_t status, int after = 0, int times = 1);
  // Answers of the login prompt, consumed in order; when none is queued the
  // default FakeLoginAnswer is used.
  std::deque<FakeLoginAnswer> loginAnswers;
  // Whether a scripted 1051021 ends its context as the server does. Off only
  // where a test follows a command's own steps past a failed login again.
  bool reloginEndsSession = true;
  // Called inside every operation before it runs (e.g. to check the pointer).
  std::function<void(const FakeCall&)> onCall;

  // Record.
  std::vector<FakeCall> calls;
  std::string CallsText(const std::string& only = {}) const;  // one call per line
  int CountCalls(const std::string& name) const;
  void ClearCalls() { calls.clear(); }
  uint32_t lastInitVersion = 0;
  std::vector<uint8_t> lastInitRecord;

  int32_t EsbInit(const ApiInitRecord& record, Handle& instance) override;
  int32_t EsbTerm(Handle instance) override;
  int32_t EsbAutoLogin(Handle instance, std::span<char> server, std::span<char> user,
                       std::span<char> password, std::span<char> application,
                       std::span<char> database, int16_t options, int16_t& access,
                       Handle& context) override;
  int32_t EsbLogin(Handle instance, const char* server, const char* user, const char* password,
                   int16_t& count, Handle& context) override;
  int32_t EsbLogout(Handle context) override;
  int32_t EsbListApplications(Handle context, int16_t& count) override;
  int32_t EsbListDatabases(Handle context, const char* application, int16_t& count) override;
  int32_t EsbGetNextItem(Handle context, int16_t kind, std::span<char> buffer) override;
  int32_t EsbGetApplicationInfo(Handle context, const char* application, std::span<uint8_t> record,
                                int16_t& databases) override;
  int32_t EsbUnloadApplication(Handle context, const char* application) override;
  int32_t EsbSetActive(Handle context, const char* application, const char* database,
                       int16_t& access) override;
  int32_t EsbListFilters(Handle context, const char* application, const char* database,
                         int16_t& count) override;
  int32_t EsbGetFilter(Handle context, const char* application, const char* database,
                       const char* filter, int16_t& active, int16_t& access) override;
  int32_t EsbGetFilterRow(Handle context, std::span<char> row, int16_t& access) override;
  int32_t EsbSetFilter(Handle context, const char* application, const char* database,
                       const char* filter, int16_t active, int16_t access) override;
  int32_t EsbSetFilterRow(Handle context, const char* row, int16_t access) override;
  int32_t EsbDeleteFilter(Handle context, const char* application, const char* database,
                          const char* filter) override;
  bool SetLoginPrompt(EsbSimLoginPrompt prompt, void* userData) override;

  bool promptRegistered = false;
  bool promptAvailable = false;  // whether SetLoginPrompt reports a hook

 private:
  struct Fault {
    Operation operation;
    int32_t status;
    int after;
    int times;
    int fired = 0;
  };
  struct Item {
    int16_t kind;
    std::string bytes;
  };
  // What one login context has open.
  struct Session {
    Handle instance = 0;
    bool ended = false;  // by 1051021
    std::deque<Item> pending;
    std::vector<FakeRow> readRows;
    size_t readPos = 0;
    bool reading = false;
    bool writing = false;
    FakeFilter writeFilter;
    std::string writeApp, writeDb;
  };

  // Records the call; returns a refusal for the context, a scripted status or
  // 0. Calls that take no context pass 0 and have no session.
  int32_t Enter(Operation op, Handle context, std::vector<std::string> args,
                bool takesContext = true);
  void Succeeded(Operation op) { ++succeeded_[static_cast<size_t>(op)]; }
  Session& Current() { return sessions_[current_]; }
  Handle NewContext(Handle instance);

  std::vector<Fault> faults_;
  std::array<int, OperationCount> succeeded_{};
  Handle nextContext_ = 100;
  Handle nextInstance_ = 1;
  bool v5_ = false;
  std::map<Handle, Session> sessions_;
  std::set<Handle> ended_;  // logged out or of a terminated instance
  std::set<Handle> ownContexts_;
  Handle current_ = 0;  // the context of the call being run
};

}  // namespace essbase::testing
