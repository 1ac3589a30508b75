// Writing and deleting over the client library, one filter at a time: the
// opening EsbSetFilter, one EsbSetFilterRow per row, the closing
// EsbSetFilterRow. A definition is closed (committed) only when every one of
// its calls succeeded and no row was lost; otherwise the server keeps its
// previous one, and the guard sees that no later call commits it.
#include "essbase/Latin1.h"
#include "essbase/library/LibraryServer.h"

namespace essbase {

namespace {

class LibraryWrites final : public Writes {
 public:
  LibraryWrites(LibraryServer& server, WriteReceiver& receiver, const WriteOptions& options)
      : server_(server), receiver_(receiver), options_(options) {}

  void Write(const Database& db, Filter filter, bool lostRows) override {
    ++written_;
    WriteOutcome o = WriteOnce(db, filter, lostRows);
    // A whole filter is written again after a new login only where the
    // command's policy says so; its calls are then all made again.
    if (!o.done && loginEnded_ && server_.again().Again(Step::WriteFilter))
      o = WriteOnce(db, filter, lostRows);
    receiver_.Outcome(o);
  }

  void Delete(const Database& db, std::string name) override {
    WriteOutcome o;
    o.kind = WriteOutcome::Kind::Delete;
    o.db = db;
    o.name = name;
    o.failure.step = Step::DeleteFilter;
    o.failure.filter = name;
    LatinNames latin;
    if (!LibraryNames(db, &name, latin, o.failure)) {
      server_.conn().Status = o.failure.status;
      receiver_.Outcome(o);
      return;
    }
    const int32_t status = server_.CallRepeating(Step::DeleteFilter, [&](Handle c) {
      return server_.api().EsbDeleteFilter(c, latin.app.c_str(), latin.db.c_str(),
                                           latin.filter.c_str());
    });
    o.done = status == 0;
    if (status != 0) {
      o.failure.status = status;
      o.failure.call = "EsbDeleteFilter";
    }
    receiver_.Outcome(o);
  }

  void Finish() override {
    if (!options_.closeWhenEmpty || written_ > 0) return;
    // The closing call an import makes at the end of its file, also when the
    // file opened no filter.
    WriteOutcome o;
    o.kind = WriteOutcome::Kind::Close;
    const int32_t status = Close();
    o.done = status == 0;
    if (status != 0) {
      o.failure = FailureOf(Step::WriteFilter, status, "EsbSetFilterRow");
      o.failedCalls.push_back({0, status});
    }
    receiver_.Outcome(o);
  }

 private:
  int32_t Close() {
    return Track(server_.CallWrite(
        [&](Handle c) { return server_.api().EsbSetFilterRow(c, nullptr, FilterAccess); }));
  }
  int32_t Track(int32_t status) {
    loginEnded_ = loginEnded_ || status == ReloginStatus;
    return status;
  }

  WriteOutcome WriteOnce(const Database& db, const Filter& filter, bool lostRows) {
    loginEnded_ = false;
    WriteOutcome o;
    o.db = db;
    o.name = filter.name;
    Failure& f = o.failure;
    f.step = Step::WriteFilter;
    f.filter = filter.name;
    LatinNames latin;
    if (!LibraryNames(db, &filter.name, latin, f)) {
      server_.conn().Status = f.status;
      return o;
    }
    // Rows the client library cannot carry refuse the filter before any call.
    // The Latin-1 texts go to latin1_, whose strings serve filter after
    // filter; its first `count` are this filter's.
    const size_t count = filter.rows.size();
    if (latin1_.size() < count) latin1_.resize(count);
    std::vector<std::string>& rows = latin1_;
    for (size_t i = 0; i < count; ++i) {
      size_t badAt = 0;
      if (!Utf8ToLatin1(filter.rows[i].text, rows[i], badAt)) {
        f.status = server_.conn().Status = ESB_STS_BAD_ROW;
        f.rows = i;
        f.detail = "row " + std::to_string(i + 1) + " of the filter \"" + filter.name +
                   "\" has a character the client library cannot carry (Latin-1 only)";
        return o;
      }
    }
    bool incomplete = lostRows;
    const auto failed = [&](int64_t place, int32_t status, const char* call) {
      incomplete = true;
      o.failedCalls.push_back({place, status});
      if (f.status == 0) {
        f.status = status;
        f.call = call;
        f.rows = static_cast<uint64_t>(std::max<int64_t>(place, 0));
      }
      return !options_.carryOn;  // true: stop here
    };
    const int32_t opened = Track(server_.CallWrite([&](Handle c) {
      return server_.api().EsbSetFilter(c, latin.app.c_str(), latin.db.c_str(),
                                        latin.filter.c_str(), filter.active, filter.access);
    }));
    if (opened != 0 && failed(-1, opened, "EsbSetFilter")) return Left(o);
    for (size_t i = 0; i < count; ++i) {
      const int16_t access = filter.rows[i].access;
      auto row = [&](Handle c) {
        return server_.api().EsbSetFilterRow(c, rows[i].c_str(), access);
      };
      int32_t status = Track(server_.CallWrite(row));
      if (status == ReloginStatus && server_.again().Again(Step::WriteRow))
        status = Track(server_.CallWrite(row));
      if (status != 0 && failed(static_cast<int64_t>(i), status, "EsbSetFilterRow")) return Left(o);
    }
    // No closing call for an incomplete definition: it would commit it
    // without the rows that did not get in.
    if (incomplete) return Left(o);
    const int32_t closed = Close();
    if (closed != 0) {
      failed(static_cast<int64_t>(count), closed, "EsbSetFilterRow");
      return Left(o);
    }
    o.done = true;
    return o;
  }

  // The definition stays open on the server: no later call may commit it.
  WriteOutcome& Left(WriteOutcome& o) {
    server_.definitions().LeftOpen();
    return o;
  }

  LibraryServer& server_;
  WriteReceiver& receiver_;
  WriteOptions options_;
  uint64_t written_ = 0;
  bool loginEnded_ = false;
  std::vector<std::string> latin1_;  // the rows of the filter being written, reused
};

}  // namespace

std::unique_ptr<Writes> LibraryServer::StartWrites(WriteReceiver& receiver,
                                                   const WriteOptions& options) {
  return std::make_unique<LibraryWrites>(*this, receiver, options);
}

}  // namespace essbase
