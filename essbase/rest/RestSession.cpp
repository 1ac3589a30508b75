#include "essbase/rest/RestSession.h"

#include <cstring>

namespace essbase::rest {

std::string RestSession::Scrubbed(std::string text) const {
  if (password_.empty()) return text;
  for (size_t at = text.find(password_); at != std::string::npos; at = text.find(password_, at + 4))
    text.replace(at, password_.size(), "****");
  return text;
}

void RestSession::StartListing(int16_t kind, std::vector<Item> items) {
  itemKind_ = items.empty() ? 0 : kind;
  items_ = std::move(items);
  nextItem_ = 0;
}

int32_t RestSession::NextItem(int16_t kind, std::span<char> buffer) {
  if (itemKind_ == 0) return ESB_STS_NO_ITEM_PENDING;
  if (kind != itemKind_) return ESB_STS_BAD_ITEM_KIND;
  const Item item = std::move(items_[nextItem_++]);
  if (nextItem_ == items_.size()) StartListing(0, {});
  if (item.status != 0) {
    failure = Scrubbed(item.text);
    return item.status;
  }
  std::memcpy(buffer.data(), item.field.data(), item.field.size());
  return 0;
}

void RestSession::SetFilterListing(const std::string& app, const std::string& db,
                                   std::set<std::string> names,
                                   std::map<std::string, FilterRows> readAhead) {
  const std::string key = Key(app, db);
  listed_[key] = std::move(names);
  readAheadKey_ = key;
  readAhead_ = std::move(readAhead);
}

std::optional<bool> RestSession::Listed(const std::string& app, const std::string& db,
                                        const std::string& filter) const {
  auto it = listed_.find(Key(app, db));
  if (it == listed_.end()) return std::nullopt;
  return it->second.count(filter) != 0;
}

std::optional<FilterRows> RestSession::TakeReadAhead(const std::string& app, const std::string& db,
                                                     const std::string& filter) {
  if (readAheadKey_ != Key(app, db)) return std::nullopt;
  auto it = readAhead_.find(filter);
  if (it == readAhead_.end()) return std::nullopt;
  FilterRows rows = std::move(it->second);
  readAhead_.erase(it);
  return rows;
}

void RestSession::FilterWritten(const std::string& app, const std::string& db,
                                const std::string& filter) {
  const std::string key = Key(app, db);
  auto it = listed_.find(key);
  if (it != listed_.end()) it->second.insert(filter);
  if (readAheadKey_ == key) readAhead_.erase(filter);
}

void RestSession::FilterDeleted(const std::string& app, const std::string& db,
                                const std::string& filter) {
  const std::string key = Key(app, db);
  auto it = listed_.find(key);
  if (it != listed_.end()) it->second.erase(filter);
  if (readAheadKey_ == key) readAhead_.erase(filter);
}

void RestSession::OpenRows(std::vector<Row> rows) {
  rows_ = std::move(rows);
  nextRow_ = 0;
  reading_ = true;
}

int32_t RestSession::NextRow(std::span<char> buffer, int16_t& access) {
  if (!reading_) return ESB_STS_ROWS_NOT_OPEN;
  if (buffer.empty()) return ESB_STS_BUFFER_TOO_SMALL;
  if (nextRow_ == rows_.size()) {
    buffer[0] = '\0';
    access = 0;
    reading_ = false;
    rows_.clear();
    return 0;
  }
  const Row& r = rows_[nextRow_];
  // Never cut a row: one that does not fit stays pending for a larger buffer.
  if (r.text.size() >= buffer.size()) return ESB_STS_BUFFER_TOO_SMALL;
  std::memcpy(buffer.data(), r.text.c_str(), r.text.size() + 1);
  access = r.access;
  ++nextRow_;
  return 0;
}

void RestSession::Forget() {
  StartListing(0, {});
  listed_.clear();
  readAheadKey_.clear();
  readAhead_.clear();
  reading_ = false;
  rows_.clear();
  definition = {};
}

}  // namespace essbase::rest
