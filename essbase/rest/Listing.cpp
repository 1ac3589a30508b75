#include "essbase/rest/Listing.h"

#include <functional>

#include "essbase/rest/RestStatus.h"
#include "essbase/rest/Texts.h"

namespace essbase::rest {

http::Request NameListing::Next() const {
  http::Request r;
  r.url = pages_.Url(path_);
  return r;
}

void NameListing::Restart() {
  items.clear();
  pages_.Restart();
  seen_.clear();
}

NameListing::State NameListing::Take(const http::Response& answer, int32_t& status,
                                     std::string& why) {
  ListPage page;
  std::vector<NameItem> got;
  status = RestStatusBadAnswer;
  if (!ParseNamePage(answer.body, page, got, why)) return State::Failed;
  PageHash hash;
  for (const NameItem& item : got) hash.Add(item.name);
  if (!pages_.Take(page, hash.value(), why)) return State::Failed;
  for (NameItem& item : got) {
    std::string fault = NameFault(item.name);
    if (fault.empty() && !item.application.empty()) fault = NameFault(item.application);
    if (!fault.empty()) {
      status = RestStatusNameNotServed;
      why = "the name " + Quoted(item.name) +
            (item.application.empty() ? "" : " of " + Quoted(item.application)) + " " + fault;
      return State::Failed;
    }
    const uint64_t h = std::hash<std::string_view>{}(item.name);
    auto [from, to] = seen_.equal_range(h);
    for (auto it = from; it != to; ++it) {
      if (items[it->second].name == item.name) {
        why = "the name " + Quoted(item.name) + " comes twice";
        return State::Failed;
      }
    }
    seen_.emplace(h, items.size());
    items.push_back(std::move(item));
  }
  return pages_.done() ? State::Done : State::More;
}

}  // namespace essbase::rest
