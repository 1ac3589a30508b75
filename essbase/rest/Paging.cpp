#include "essbase/rest/Paging.h"

namespace essbase::rest {

std::string Pages::Url(const std::string& url) const {
  return url + (url.find('?') == std::string::npos ? "?" : "&") +
         "offset=" + std::to_string(offset_) + "&limit=" + std::to_string(PageLimit);
}

bool Pages::Take(const ListPage& page, uint64_t fingerprint, std::string& why) {
  const std::string at = "the page at offset " + std::to_string(offset_);
  if (page.offset && static_cast<size_t>(*page.offset) != offset_) {
    why = at + " came as offset " + std::to_string(*page.offset) + ": the server ignores offset";
    return false;
  }
  if (page.count && static_cast<size_t>(*page.count) != page.items) {
    why = at + " says count " + std::to_string(*page.count) + " but holds " +
          std::to_string(page.items) + " items";
    return false;
  }
  if (page.totalResults) {
    if (total_ && *total_ != *page.totalResults) {
      why = "totalResults went from " + std::to_string(*total_) + " to " +
            std::to_string(*page.totalResults) + " between pages";
      return false;
    }
    total_ = page.totalResults;
  }
  const bool more = page.hasMore.value_or(false);
  if (more && page.items == 0) {
    why = at + " is empty, though the one before said there were more";
    if (offset_ == 0) why = at + " is empty, though it says there are more";
    return false;
  }
  if (previous_ && page.items > 0 && *previous_ == fingerprint) {
    why = at + " repeats the page before it: the server ignores offset";
    return false;
  }
  previous_ = fingerprint;
  offset_ += page.items;
  if (total_ && offset_ > static_cast<size_t>(*total_)) {
    why = "the pages give more than the " + std::to_string(*total_) + " items totalResults says";
    return false;
  }
  if (more) return true;
  done_ = true;
  if (total_ && offset_ != static_cast<size_t>(*total_)) {
    why = "the pages give " + std::to_string(offset_) + " items, but totalResults says " +
          std::to_string(*total_);
    return false;
  }
  return true;
}

void PageHash::Add(std::string_view text) {
  // FNV-1a over the texts, each closed by a byte no text holds alone.
  for (char c : text) {
    hash_ ^= static_cast<uint8_t>(c);
    hash_ *= 1099511628211ull;
  }
  hash_ ^= 0xFF;
  hash_ *= 1099511628211ull;
}

}  // namespace essbase::rest
