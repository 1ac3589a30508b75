#pragma once
// Splits a stream into lines without ever holding more than one line and one
// read chunk: a line ends at CR LF, at LF, or at a CR not followed by LF.
// Empty lines are skipped; a last line without a line end is still a line.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace filterfile {

class LineReader {
 public:
  // No server row comes near this; a longer line is read past, never kept whole.
  static constexpr size_t DefaultMaxLine = 1 << 20;

  explicit LineReader(std::istream& in, size_t chunkSize = 64 * 1024,
                      size_t maxLine = DefaultMaxLine);

  enum class Result { Line, End, ReadError };

  // The next non-empty line, without its line end.
  Result Next(std::string& line);

  // Number of the line Next returned last, counting every line end of the
  // file, empty lines included, from 1.
  uint64_t lineNumber() const { return lineNumber_; }
  // Whether that line was longer than maxLine (then `line` holds its start only).
  bool tooLong() const { return tooLong_; }

 private:
  bool Fill();

  std::istream& in_;
  std::vector<char> chunk_;
  size_t pos_ = 0;
  size_t end_ = 0;
  size_t maxLine_;
  uint64_t lineNumber_ = 0;
  uint64_t linesSeen_ = 0;
  bool tooLong_ = false;
  bool failed_ = false;
};

}  // namespace filterfile
