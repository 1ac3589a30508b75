#pragma once
// What a change run needs of the user while it runs: the answers of the
// retry protocol, a chance for the window to repaint, and where it is.
#include <string_view>

namespace desktop::change {

struct ChangeProgress {
  enum class Phase { Reading, Writing };
  Phase phase = Phase::Reading;
  int filters = 0;    // filters read, or the filter being written (from 1)
  int total = 0;      // of how many; 0 while not known (reading marked databases)
  int database = 0;   // reading marked databases: the database being read (from 1)
  int databases = 0;  // of how many
};

class ChangeQuestions {
 public:
  virtual ~ChangeQuestions() = default;
  // A write call failed half-way: true to log in again and write every
  // filter again, false to end the run where it is.
  virtual bool RetryAfterWriteFailure() = 0;
  // The login again cannot reach the database: true to try once more.
  virtual bool TryLoginAgain() = 0;
  // The write pass failed in the run-time rather than on the server; the
  // retry question follows.
  virtual void WriteFailedUnexpectedly(std::string_view description) = 0;
  // The write pass counted a filter: the window may repaint.
  virtual void ProcessEvents() = 0;
  virtual void Progress(const ChangeProgress& progress) = 0;
};

}  // namespace desktop::change
