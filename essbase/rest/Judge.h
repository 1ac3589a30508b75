#pragma once
// What an answer means for the step that asked for it, as a Failure. The
// status comes from the answer: a numeric errorCode in its body, else an
// Essbase status its message names ("Error(1051030)"), else one of
// RestStatus.h. serverText quotes the server and nothing else ("HTTP 400: "
// and its most specific message); the client's own reasons go to detail.
// Every text is scrubbed of the password and has its control characters
// escaped.
#include <string>
#include <string_view>

#include "essbase/Failure.h"
#include "essbase/rest/Scrubber.h"
#include "essbase/rest/http/HttpClient.h"

namespace essbase::rest {

// The request an answer belongs to, as a failure names it.
struct Call {
  Step step = Step::Start;
  std::string filter;
  std::string name;  // "GET filter rows"
  // The request may change what the server holds: an answer that never
  // came leaves its outcome unknown.
  bool changes = false;
};

// The server gave no answer at all: every later request would fare alike.
bool NoAnswer(const http::Response& r);

class Judge {
 public:
  static constexpr size_t MaxServerText = 300;

  Judge() = default;
  // `server` as the user gave it, for the details that name it.
  Judge(std::string server, Scrubber scrubber, long timeoutSeconds)
      : server_(std::move(server)), scrubber_(std::move(scrubber)), timeout_(timeoutSeconds) {}

  // No failure (status 0) for a 2xx answer. A 401 is a refused login for
  // the login's own request, an ended session for any other.
  Failure Of(const http::Response& r, const Call& call, bool login = false) const;
  // A 2xx answer whose body is not what the call expects.
  Failure BadAnswer(const Call& call, std::string_view why) const;
  // A failure in the client's own words (a refusal, a listing that does not add up).
  Failure Own(const Call& call, int32_t status, std::string_view detail) const;

  // A text of the client's, scrubbed and escaped.
  std::string Clean(std::string_view text) const;
  const std::string& server() const { return server_; }

 private:
  Failure Base(const Call& call) const;
  std::string ServerText(long status, std::string_view message) const;
  std::string NoAnswerDetail(const http::Response& r, const Call& call) const;

  std::string server_;
  Scrubber scrubber_;
  long timeout_ = 0;
};

// "Error(1051030)" or "Error (1051030)" as servers write statuses in their
// messages; 0 when the text names none.
int32_t StatusInText(std::string_view text);

}  // namespace essbase::rest
