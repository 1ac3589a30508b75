// Error bodies, which servers shape in many ways: every message under a key
// that names one is a candidate, and the most specific one is kept.
#include <charconv>
#include <limits>

#include "essbase/rest/json/JsonSax.h"
#include "essbase/rest/json/RestJson.h"

namespace essbase::rest {

namespace {

using json::Scalar;

// Enough of any message to show it; a longer one is cut here.
constexpr size_t kMaxCandidate = 16 * 1024;
constexpr size_t kMaxCandidates = 64;

// How specific a key's message is: a detail over a summary over a title.
int KeyRank(const std::string& key) {
  if (key == "errorMessage" || key == "detail" || key == "details" || key == "localizedMessage")
    return 3;
  if (key == "message" || key == "description" || key == "reason" || key == "cause") return 2;
  if (key == "error" || key == "title") return 1;
  return 0;
}

bool ToStatus(std::string_view text, int32_t& status) {
  int64_t n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n == 0 ||
      n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
    return false;
  status = static_cast<int32_t>(n);
  return true;
}

struct Candidate {
  std::string text;
  bool namesStatus = false;
  int rank = 0;
  size_t depth = 0;
};

bool MoreSpecific(const Candidate& a, const Candidate& b) {
  if (a.namesStatus != b.namesStatus) return a.namesStatus;
  if (a.rank != b.rank) return a.rank > b.rank;
  if (a.depth != b.depth) return a.depth > b.depth;
  return a.text.size() > b.text.size();
}

bool NamesStatus(std::string_view text) {
  for (size_t at = text.find("Error"); at != std::string_view::npos;
       at = text.find("Error", at + 1)) {
    size_t i = at + 5;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && text[i] == '(' && i + 1 < text.size() && text[i + 1] >= '0' &&
        text[i + 1] <= '9')
      return true;
  }
  return false;
}

class ErrorSax final : public json::Sax {
 public:
  bool OnValue(const Scalar& v) override {
    if (depth() == 0) return true;
    const std::string& key = Key();
    if (key == "errorCode" && (codeDepth_ == 0 || depth() < codeDepth_)) {
      int32_t status = 0;
      const bool ok = v.kind == Scalar::Kind::Integer
                          ? ToStatus(std::to_string(v.integer), status)
                          : v.kind == Scalar::Kind::String && ToStatus(*v.text, status);
      if (ok) {
        code = status;
        codeDepth_ = depth();
      }
    }
    const int rank = KeyRank(key);
    if (rank > 0 && v.kind == Scalar::Kind::String && !v.text->empty() &&
        candidates.size() < kMaxCandidates) {
      Candidate c;
      c.text = v.text->substr(0, kMaxCandidate);
      c.namesStatus = NamesStatus(c.text);
      c.rank = rank;
      c.depth = depth();
      candidates.push_back(std::move(c));
    }
    return true;
  }
  bool OnOpen(bool) override { return true; }
  bool OnClose(bool) override { return true; }

  int32_t code = 0;
  std::vector<Candidate> candidates;

 private:
  // The member a value belongs to: an array's elements belong to its key.
  const std::string& Key() const {
    size_t level = depth() - 1;
    while (level > 0 && InArrayAt(level)) --level;
    return KeyAt(level);
  }
  size_t codeDepth_ = 0;
};

}  // namespace

ErrorBody ParseErrorBody(std::string_view body) {
  ErrorBody e;
  ErrorSax sax;
  std::string why;
  if (!sax.Run(body, why)) {
    e.message = std::string(body.substr(0, kMaxCandidate));
    return e;
  }
  e.errorCode = sax.code;
  const Candidate* best = nullptr;
  for (const Candidate& c : sax.candidates)
    if (!best || MoreSpecific(c, *best)) best = &c;
  if (best) e.message = best->text;
  return e;
}

}  // namespace essbase::rest
