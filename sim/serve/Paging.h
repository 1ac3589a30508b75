#pragma once
// Every list answer is a page, as the reference's list definitions have it:
// items, offset, limit, count, hasMore, totalResults. The request's offset and
// limit choose the page; the server may hold pages smaller still.
#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace esbsim::serve {

struct PageQuery {
  size_t offset = 0;
  std::optional<size_t> limit;
};

// The query's offset and limit (each absent when nullopt). False, with why,
// when one is not a whole number within int32 (the parameters' format), or
// the limit is 0: such a request is a 400.
bool ReadPageQuery(const std::optional<std::string>& offset,
                   const std::optional<std::string>& limit, PageQuery& query, std::string& why);

struct Page {
  size_t offset = 0, limit = 0;
  size_t begin = 0, end = 0;  // the items shown: [begin, end) of the whole list
  size_t total = 0;
  bool hasMore = false;
};

// The page of a list of total items: the query's limit, else fallback (0:
// none), either capped at pageSize (0: no cap). An uncapped page's limit is
// what it holds.
Page Cut(const PageQuery& query, size_t total, size_t pageSize, size_t fallback = 0);

// The list answer: items (already the page's) and the paging fields.
nlohmann::json ListBody(nlohmann::json items, const Page& page);

}  // namespace esbsim::serve
