#include "compare/IncomingSet.h"

namespace compare {

std::string_view ServerName(std::string_view name) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return name;
}

IncomingSet::Entry& IncomingSet::At(std::string_view name) {
  const std::string_view key = ServerName(name);
  if (auto it = index_.find(key); it != index_.end()) return *it->second;
  Entry& entry = entries_.emplace_back();
  entry.name = key;
  entry.values = values_;
  index_.emplace(entry.name, &entry);
  return entry;
}

IncomingSet::Entry* IncomingSet::Find(std::string_view name) {
  auto it = index_.find(ServerName(name));
  return it == index_.end() ? nullptr : it->second;
}

void IncomingSet::Expect(std::string_view name, FilterValues values) {
  Entry& entry = At(name);
  entry.values = values;
  entry.defined = true;
}

void IncomingSet::Delete(std::string_view name) {
  At(name).deleted = true;
}

void IncomingSet::OpenFilter(std::string_view name) {
  open_ = &At(name);
  openOffset_ = spill_.size();
  openRows_ = 0;
  lost_ = false;
}

void IncomingSet::AddRow(std::string_view text, int16_t access) {
  spill_.Append(text, access);
  ++openRows_;
}

void IncomingSet::CloseFilter() {
  if (!open_) return;  // the end of a file that opened none
  Entry& entry = *open_;
  open_ = nullptr;
  if (lost_) {
    entry.laterLost = entry.defined;
    return;
  }
  entry.defined = true;
  entry.laterLost = false;
  entry.offset = openOffset_;
  entry.length = spill_.size() - openOffset_;
  entry.rows = openRows_;
}

void IncomingSet::PassedOver(uint64_t lineNumber) {
  if (passedOver_++ == 0) firstPassedOver_ = lineNumber;
}

bool IncomingSet::Rows(const Entry& entry, std::vector<char>& bytes, std::vector<Row>& rows) {
  rows.clear();
  if (entry.length == 0) return spill_.error() == 0;
  rows.reserve(static_cast<size_t>(entry.rows));
  return spill_.Read(entry.offset, entry.length, bytes, rows);
}

}  // namespace compare
