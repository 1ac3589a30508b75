// Reading filters whole over the client library: EsbGetFilter, then its rows
// one EsbGetFilterRow at a time, each read whole (ReadFilterRow).
#include "essbase/Latin1.h"
#include "essbase/library/LibraryServer.h"
#include "essbase/library/ReadFilterRow.h"

namespace essbase {

struct LibraryServer::Read {
  std::vector<char> buffer;
  std::vector<char> spill;  // rows longer than the caller's buffer
  bool loginEnded = false;  // a call of the filter answered ReloginStatus
};

Failure LibraryServer::ReadOne(const Database& db, const std::string& name, Read& read,
                               Filter& filter) {
  Failure f;
  f.step = Step::ReadFilter;
  f.filter = name;
  filter.name = name;
  // The rows of the filter read before are written over where they lie, so
  // that their texts' storage serves again; the rows read are the first
  // `count`, and filter.rows is cut to them before anybody sees it.
  size_t count = 0;
  LatinNames latin;
  if (!LibraryNames(db, &name, latin, f)) {
    filter.rows.clear();
    conn_.Status = f.status;
    return f;
  }
  read.loginEnded = false;
  const auto failed = [&](const char* call) {
    filter.rows.resize(count);
    read.loginEnded = read.loginEnded || conn_.Status == ReloginStatus;
    f.status = conn_.Status;
    f.call = call;
    f.rows = filter.rows.size();
    f.detail = NotHeldDetail(f.status);
    return f;
  };
  if (Call([&](Handle c) {
        return api_.EsbGetFilter(c, latin.app.c_str(), latin.db.c_str(), latin.filter.c_str(),
                                 filter.active, filter.access);
      }) != 0)
    return failed("EsbGetFilter");
  // The row calls reuse one access variable, as the filter's own is kept.
  for (;;) {
    std::string_view text;
    int16_t access = 0;
    if (Call([&](Handle c) {
          return ReadFilterRow(api_, c, read.buffer, read.spill, access, text);
        }) != 0)
      return failed("EsbGetFilterRow");
    if (text.empty()) break;
    if (count == filter.rows.size()) filter.rows.emplace_back();
    FilterRow& row = filter.rows[count++];
    row.access = access;
    Latin1ToUtf8(text, row.text);
  }
  filter.rows.resize(count);
  return {};
}

Failure LibraryServer::ReadFilters(const Database& db, const std::vector<std::string>& names,
                                   const ReadOptions& options, FilterReceiver& receiver) {
  Read read;
  read.buffer.assign(std::max<size_t>(options.rowBuffer, 1), '\0');
  Filter filter;
  for (const std::string& name : names) {
    Failure f = ReadOne(db, name, read, filter);
    // A filter is read whole or not at all: after a new login it is read
    // again from its first call.
    if (f && read.loginEnded && again().Again(Step::ReadFilter))
      f = ReadOne(db, name, read, filter);
    if (f) {
      if (!filter.rows.empty()) receiver.Partial(db, filter);
      return f;
    }
    if (!receiver.Receive(db, filter)) break;
  }
  return {};
}

Failure LibraryServer::ReadDatabase(const Database& db, const Wanted& wanted,
                                    const ReadOptions& options, FilterReceiver& receiver) {
  // A listing's cursor does not survive a new login: a command that reads
  // filters again after one takes every name first.
  if (again().Repeats(Step::ReadFilter)) {
    std::vector<std::string> names;
    if (Failure f = ListFilters(db, names)) return f;
    std::erase_if(names, [&](const std::string& n) { return wanted && !wanted(n); });
    return ReadFilters(db, names, options, receiver);
  }
  // As the descriptions have it: each name, then that filter's rows.
  int16_t count = 0;
  if (Failure f = StartFilterListing(db, count)) return f;
  Read read;
  read.buffer.assign(std::max<size_t>(options.rowBuffer, 1), '\0');
  Filter filter;
  for (int i = 0; i < count; ++i) {
    std::string name;
    if (Failure failed = NextFilterName(name)) return failed;
    const bool isWanted = !wanted || wanted(name);
    if (!isWanted && !options.readUnwanted) continue;
    if (Failure failed = ReadOne(db, name, read, filter)) {
      if (isWanted && !filter.rows.empty()) receiver.Partial(db, filter);
      return failed;
    }
    if (isWanted && !receiver.Receive(db, filter)) break;
  }
  return {};
}

}  // namespace essbase
