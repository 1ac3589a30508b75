#pragma once
// Splits a stream into lines without ever holding more than one line and one
// read chunk: a line ends at CR LF, at LF, or at a CR not followed by LF.
// Empty lines are skipped; a last line without a line end is still a line.
// A line longer than the caller's limit ends the reading there: no file of
// the programs has one, and an endless one (a device, a binary file) must
// end in a failure, not in reading forever.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace filterfile {

class LineReader {
 public:
  LineReader(std::istream& in, size_t maxLine, size_t chunkSize = 64 * 1024);

  // TooLong and ReadError end the reading: every later Next returns them again.
  enum class Result { Line, End, ReadError, TooLong };

  // The next non-empty line, without its line end.
  Result Next(std::string& line);

  // Number of the line Next returned last (or that was too long), counting
  // every line end of the file, empty lines included, from 1.
  uint64_t lineNumber() const { return lineNumber_; }

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
