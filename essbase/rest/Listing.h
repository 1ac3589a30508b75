#pragma once
// One list of names (applications, databases, filters) read page by page.
// Only names are kept, each checked: a name that is empty, not UTF-8 or
// holds a control character fails the listing, and so does a name given
// twice.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "essbase/rest/Paging.h"
#include "essbase/rest/http/HttpClient.h"
#include "essbase/rest/json/RestJson.h"

namespace essbase::rest {

class NameListing {
 public:
  // `path` of the list resource, below the API's base.
  explicit NameListing(std::string path) : path_(std::move(path)) {}

  // The request for the next page.
  http::Request Next() const;

  enum class State { More, Done, Failed };
  // Takes the 2xx answer to Next(). Failed: `status` and `why` say why.
  State Take(const http::Response& answer, int32_t& status, std::string& why);
  void Restart();

  // What was read so far, in the server's order.
  std::vector<NameItem> items;

 private:
  std::string path_;
  Pages pages_;
  std::unordered_multimap<uint64_t, size_t> seen_;  // hash of a name, its index
};

}  // namespace essbase::rest
