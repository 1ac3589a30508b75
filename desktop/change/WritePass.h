#pragma once
// The write pass: every filter in the row store is written anew (active 1,
// access 375) with exactly the rows read for it, matching rows with the new
// access and the others with their own. A failed write starts the retry
// protocol, whose Retry writes every filter again from slot 1.
#include "desktop/change/ChangeOutcome.h"
#include "desktop/change/ChangeQuestions.h"
#include "desktop/change/ChangeRequest.h"
#include "desktop/change/RowStore.h"
#include "essbase/Session.h"

namespace desktop::change {

class WritePass {
 public:
  // checkDatabase: the database a login again makes active to see whether
  // the server takes commands again.
  WritePass(essbase::Session& session, ChangeQuestions& questions, const RowStore& rows,
            DatabaseName checkDatabase);

  // Changed with the count, NoRows, or Cancelled.
  ChangeOutcome Run(const ChangeRequest& request);

 private:
  enum class Pass { Done, Failed };
  // One pass over the store; count: the filters given the new access.
  Pass WriteAll(const ChangeRequest& request, const RowMatcher& matcher, int& count);
  // True for Retry (after the logins again), false for Cancel.
  bool Retry();

  essbase::Session& session_;
  ChangeQuestions& questions_;
  const RowStore& rows_;
  const DatabaseName checkDatabase_;
};

}  // namespace desktop::change
