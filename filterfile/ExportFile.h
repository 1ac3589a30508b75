#pragma once
// An export file being written: its records go out in Latin-1, byte for byte
// as before, for as long as every text fits; the moment one does not, the
// whole file turns UTF-8 behind the byte order mark. A file appended to keeps
// the encoding it has.
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "filterfile/RecordWriter.h"

namespace filterfile {

class ExportFile {
 public:
  enum class Mode { Create, Append };

  ExportFile();
  // Create replaces a file of that name; Append adds to an existing one and
  // never creates it. False with error() set when it cannot be opened.
  bool Open(const std::string& path, Mode mode);
  RecordWriter& records() { return *records_; }
  // Flushes and closes; false with error() set when a byte did not make it.
  bool Close();
  // errno of the first failure, 0 when none.
  int error() const { return error_; }

 private:
  bool Widen();
  bool OpenFile(std::ios::openmode mode);

  std::string path_;
  std::vector<char> buffer_;
  std::unique_ptr<std::filebuf> file_;
  std::ostream out_{nullptr};
  std::unique_ptr<RecordWriter> records_;
  int error_ = 0;
};

// The encoding of an existing file, from its first bytes (Latin-1 when it
// cannot be read).
FileEncoding EncodingOfFile(const std::string& path);

}  // namespace filterfile
