#pragma once
// The read pass: copies every row of every chosen filter into the row store
// and changes no filter. One database: the ticked filters of the activated
// database. All databases: every filter of each marked database, with the
// applications it found unloaded unloaded again on every way out.
#include <vector>

#include "desktop/change/ChangeOutcome.h"
#include "desktop/change/ChangeQuestions.h"
#include "desktop/change/RowStore.h"
#include "essbase/Session.h"

namespace desktop::change {

// AppsToUnload holds at most this many names.
constexpr int MaxAppsToUnload = 1001;

class ReadPass {
 public:
  ReadPass(essbase::Session& session, ChangeQuestions& questions, RowStore& rows);

  // Ends with ChangeEnd::Read when every row is in the store.
  ChangeOutcome Run(const ChangeScope& scope);

 private:
  ChangeOutcome ReadOneDatabase(const ChangeScope& scope);
  ChangeOutcome ReadMarkedDatabases(const ChangeScope& scope);
  ChangeOutcome ReadEachMarked(const ChangeScope& scope, std::vector<std::string>& appsToUnload,
                               int& marked);
  // How a read of filters ended: a failure, a full store, or every row in.
  ChangeOutcome ReadEnded(const essbase::Failure& failure, bool full);

  essbase::Session& session_;
  ChangeQuestions& questions_;
  RowStore& rows_;
};

}  // namespace desktop::change
