#pragma once
// Every list of the API comes in pages (offset, limit, hasMore,
// totalResults): the client asks for each page by offset and follows
// hasMore. Pages that do not add up fail the listing, never a name dropped
// or read twice: hasMore with an empty page, a page that comes back for
// another offset or repeats the one before, counts that disagree with the
// items given.
#include <cstdint>
#include <optional>
#include <string>

#include "essbase/rest/json/RestJson.h"

namespace essbase::rest {

// Items asked for per page; a server may give fewer.
constexpr size_t PageLimit = 500;

class Pages {
 public:
  size_t offset() const { return offset_; }
  bool done() const { return done_; }
  // `url` asking for the next page.
  std::string Url(const std::string& url) const;
  // Takes the page asked at offset(), whose items hash to `fingerprint`;
  // false with why when the pages no longer add up.
  bool Take(const ListPage& page, uint64_t fingerprint, std::string& why);
  void Restart() { *this = {}; }

 private:
  size_t offset_ = 0;
  bool done_ = false;
  std::optional<int64_t> total_;
  std::optional<uint64_t> previous_;  // the last page's fingerprint
};

// A fingerprint of a page's texts, to tell a page sent again.
class PageHash {
 public:
  void Add(std::string_view text);
  uint64_t value() const { return hash_; }

 private:
  uint64_t hash_ = 1469598103934665603ull;
};

}  // namespace essbase::rest
