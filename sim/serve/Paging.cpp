#include "sim/serve/Paging.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

namespace esbsim::serve {

namespace {

bool Whole(const char* name, const std::string& text, size_t& value, std::string& why) {
  int64_t n = -1;
  const char* end = text.data() + text.size();
  // from_chars takes a leading '-', which is refused below; nothing else but digits.
  auto [at, ec] = std::from_chars(text.data(), end, n);
  if (text.empty() || ec != std::errc() || at != end || n > std::numeric_limits<int32_t>::max() ||
      n < 0) {
    why = std::string(name) + " \"" + text + "\" is not a whole number from 0 to 2147483647";
    return false;
  }
  value = static_cast<size_t>(n);
  return true;
}

}  // namespace

bool ReadPageQuery(const std::optional<std::string>& offset,
                   const std::optional<std::string>& limit, PageQuery& query, std::string& why) {
  query = {};
  if (offset && !Whole("offset", *offset, query.offset, why)) return false;
  if (!limit) return true;
  size_t n = 0;
  if (!Whole("limit", *limit, n, why)) return false;
  if (n == 0) {
    why = "limit 0 asks for no items";
    return false;
  }
  query.limit = n;
  return true;
}

Page Cut(const PageQuery& query, size_t total, size_t pageSize, size_t fallback) {
  Page p;
  p.offset = query.offset;
  p.total = total;
  p.begin = std::min(query.offset, total);
  size_t cap = query.limit.value_or(fallback);
  if (pageSize != 0 && (cap == 0 || cap > pageSize)) cap = pageSize;
  p.end = cap == 0 ? total : p.begin + std::min(cap, total - p.begin);
  p.limit = cap == 0 ? p.end - p.begin : cap;
  p.hasMore = p.end < total;
  return p;
}

nlohmann::json ListBody(nlohmann::json items, const Page& page) {
  return {{"items", std::move(items)}, {"offset", page.offset},
          {"limit", page.limit},       {"count", page.end - page.begin},
          {"hasMore", page.hasMore},   {"totalResults", page.total}};
}

}  // namespace esbsim::serve
