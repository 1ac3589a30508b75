#pragma once
// Writes filters as they come from a server (essbase::FilterReceiver) as row
// records: each filter's rows in the server's order, the application and
// database fields those of the database read, the texts encoded for the
// file. A filter without rows writes nothing.
#include <functional>
#include <ostream>
#include <string>

#include "essbase/Server.h"
#include "filterfile/TextEncoding.h"

namespace filterfile {

class RecordWriter final : public essbase::FilterReceiver {
 public:
  enum class Result {
    Written,
    StreamFailed,  // a byte did not reach the stream
    NotEncodable,  // a text the file's encoding cannot hold (unheld() says which)
  };

  explicit RecordWriter(std::ostream& out, FileEncoding encoding = FileEncoding::Latin1)
      : out_(out), encoding_(encoding) {}

  // Told of each filter once its rows are written.
  std::function<void(const essbase::Database& db, const essbase::Filter& filter)> onFilter;
  // Turns what was written so far into UTF-8 behind the mark, when a text
  // Latin-1 cannot hold comes; unset, or false, such a text is NotEncodable.
  std::function<bool()> widen;
  FileEncoding encoding() const { return encoding_; }

  // Writes the filter's rows; false (and the reading stops) when they could
  // not be written.
  bool Receive(const essbase::Database& db, essbase::Filter& filter) override;
  // The records read before a failure stay in the file.
  void Partial(const essbase::Database& db, const essbase::Filter& filter) override {
    Write(db, filter);
  }
  Result Write(const essbase::Database& db, const essbase::Filter& filter);

  Result result() const { return result_; }
  // What could not be encoded: "the filter X" or "a row of the filter X".
  const std::string& unheld() const { return unheld_; }

 private:
  // What a text is, for unheld(): "the application X", "a row of the filter X".
  struct What {
    const char* kind;
    const std::string& name;
  };
  // The text as the file holds it in out: the text itself, or its Latin-1 in
  // scratch.
  bool Encode(std::string_view text, std::string& scratch, std::string_view& out, What what);

  std::ostream& out_;
  FileEncoding encoding_;
  Result result_ = Result::Written;
  std::string unheld_;
  std::string app_, db_, name_, row_;  // Latin-1 made, reused between records
};

}  // namespace filterfile
