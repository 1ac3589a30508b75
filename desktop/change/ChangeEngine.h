#pragma once
// Change Access in one database or across all marked databases: the read
// pass into the row store, then the write pass with its retry protocol. The
// two modes differ only in what the read pass visits, the message for "no
// rows" (the caller's), and which database a login again checks.
#include <functional>
#include <string>
#include <vector>

#include "desktop/change/ChangeOutcome.h"
#include "desktop/change/ChangeQuestions.h"
#include "desktop/change/ChangeRequest.h"
#include "desktop/change/RowStore.h"
#include "essbase/Session.h"

namespace desktop::change {

class ChangeEngine {
 public:
  ChangeEngine(essbase::Session& session, ChangeQuestions& questions)
      : session_(session), questions_(questions) {}

  // Runs once between the passes when there are rows to write, never again
  // on a retry; false, with `reason` set, ends the run before any write call.
  using BeforeWrite = std::function<bool(const RowStore& rows, std::string& reason)>;

  // One run; rows is the row store it fills and writes from.
  ChangeOutcome Run(const ChangeScope& scope, const ChangeRequest& request, RowStore& rows,
                    const BeforeWrite& beforeWrite = nullptr);

  // The read pass alone: matches receives every row the run would give the
  // new access, and changedFilters the count the run would report. Ends
  // with ChangeEnd::Read, or as the run's read pass would end.
  ChangeOutcome Preview(const ChangeScope& scope, const ChangeRequest& request,
                        std::vector<FilterRowRecord>& matches);

 private:
  essbase::Session& session_;
  ChangeQuestions& questions_;
};

}  // namespace desktop::change
