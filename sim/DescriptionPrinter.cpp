#include <ostream>
#include <string>
#include <vector>

#include "sim/Description.h"

namespace esbsim {

namespace {

class Printer {
 public:
  Printer(SqliteDb& db, std::ostream& out) : db_(db), out_(out) {}

  bool run(std::string& error) {
    // One read transaction: the dump is a consistent picture even while
    // other processes write.
    if (!db_.exec("BEGIN")) return fail(error);
    bool ok = all();
    db_.exec("COMMIT");
    if (!ok) return fail(error);
    out_.flush();
    if (!out_) {
      error = "write error";
      return false;
    }
    return true;
  }

 private:
  bool fail(std::string& error) {
    error = "store: " + db_.error();
    return false;
  }

  void field(std::string_view text) {
    out_.put('\t');
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  void number(int64_t v) {
    out_.put('\t');
    out_ << v;
  }

  template <typename Each>
  bool each(const char* sql, int64_t key, Each fn) {
    Statement* st = db_.prepare(sql);
    if (!st) return false;
    if (key) st->bind(1, key);
    int rc;
    while ((rc = st->step()) == SQLITE_ROW)
      if (!fn(*st)) {
        st->reset();
        return false;
      }
    st->reset();
    return rc == SQLITE_DONE;
  }

  bool all() {
    return each("SELECT name FROM server", 0,
                [&](Statement& s) {
                  out_ << "server";
                  field(s.text(0));
                  out_.put('\n');
                  return true;
                }) &&
           each("SELECT name, password, access FROM users ORDER BY id", 0,
                [&](Statement& s) {
                  out_ << "user";
                  field(s.text(0));
                  field(s.text(1));
                  number(s.integer(2));
                  out_.put('\n');
                  return true;
                }) &&
           applications() &&
           each("SELECT operation, status, after, times FROM faults ORDER BY id", 0,
                [&](Statement& s) {
                  out_ << "fault";
                  field(s.text(0));
                  number(s.integer(1));
                  number(s.integer(2));
                  number(s.integer(3));
                  out_.put('\n');
                  return true;
                });
  }

  bool applications() {
    // Names are copied out: the nested statements below run while the outer
    // ones are still stepping.
    return each("SELECT id, name, loaded FROM apps ORDER BY id", 0, [&](Statement& s) {
      const int64_t app = s.integer(0);
      const std::string name(s.text(1));
      out_ << "app";
      field(name);
      field(s.integer(2) ? "loaded" : "unloaded");
      out_.put('\n');
      return each("SELECT id, name FROM dbs WHERE app = ?1 ORDER BY id", app, [&](Statement& d) {
        const int64_t db = d.integer(0);
        const std::string dbName(d.text(1));
        out_ << "db";
        field(name);
        field(dbName);
        out_.put('\n');
        return filters(db, name, dbName);
      });
    });
  }

  bool filters(int64_t db, const std::string& app, const std::string& dbName) {
    return each("SELECT id, name, active, access FROM filters WHERE db = ?1 ORDER BY id", db,
                [&](Statement& f) {
                  out_ << "filter";
                  field(app);
                  field(dbName);
                  field(f.text(1));
                  number(f.integer(2));
                  number(f.integer(3));
                  out_.put('\n');
                  return each("SELECT access, text FROM rows WHERE filter = ?1 ORDER BY seq",
                              f.integer(0), [&](Statement& r) {
                                out_ << "row";
                                number(r.integer(0));
                                field(r.text(1));
                                out_.put('\n');
                                return true;
                              });
                });
  }

  SqliteDb& db_;
  std::ostream& out_;
};

}  // namespace

bool DumpDescription(SqliteDb& db, std::ostream& out, std::string& error) {
  return Printer(db, out).run(error);
}

}  // namespace esbsim
