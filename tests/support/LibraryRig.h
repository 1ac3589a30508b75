#pragma once
// The client library's backend over the recording fake, logged in, with the
// session a command runs under, for tests whose call sequences matter.
#include "essbase/Session.h"
#include "essbase/library/LibraryServer.h"
#include "tests/support/FakeEssbaseApi.h"

namespace essbase::testing {

class CountingListener final : public SessionListener {
 public:
  void LoginFailed(const Failure&) override { ++loginFailures; }
  void LoggedInAgain() override { ++loggedInAgain; }
  int loginFailures = 0;
  int loggedInAgain = 0;
};

// Logged in to "srv" as u/pw, the call record emptied. The session's policy
// is None until a test puts it under another.
struct LibraryRig {
  LibraryRig() {
    server.LogIn({"srv", "u", "pw"});
    api.ClearCalls();
  }
  // The context of each call of `name`, in order.
  std::vector<Handle> ContextsOf(const std::string& name) const {
    std::vector<Handle> contexts;
    for (const FakeCall& c : api.calls)
      if (c.name == name) contexts.push_back(c.context);
    return contexts;
  }

  FakeEssbaseApi api;
  ConnectionState conn;
  LibraryServer server{api, conn};
  CountingListener listener;
  Session session{server, conn, Generation::V6, listener};
};

}  // namespace essbase::testing
