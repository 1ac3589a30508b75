#include "filterfile/LineReader.h"

#include <algorithm>

namespace filterfile {

LineReader::LineReader(std::istream& in, size_t maxLine, size_t chunkSize)
    : in_(in), chunk_(std::max<size_t>(chunkSize, 1)), maxLine_(maxLine) {}

bool LineReader::Fill() {
  // A stream that failed before the first line (its encoding mark was being
  // read) failed all the same: it is no empty file.
  failed_ = failed_ || in_.bad();
  if (failed_ || !in_.good()) return false;
  in_.read(chunk_.data(), static_cast<std::streamsize>(chunk_.size()));
  // Bytes read before a failure still count; the next fill reports it.
  failed_ = in_.bad();
  pos_ = 0;
  end_ = static_cast<size_t>(in_.gcount());
  return end_ > 0;
}

LineReader::Result LineReader::Next(std::string& line) {
  if (tooLong_) return Result::TooLong;
  for (;;) {
    line.clear();
    bool ended = false;  // a line end was met
    bool any = false;    // bytes of a last line without line end
    while (!ended) {
      if (pos_ == end_ && !Fill()) break;
      const char* begin = chunk_.data() + pos_;
      const char* stop = chunk_.data() + end_;
      const char* hit = std::find_if(begin, stop, [](char c) { return c == '\r' || c == '\n'; });
      size_t n = static_cast<size_t>(hit - begin);
      if (n) any = true;
      if (n > maxLine_ - line.size()) {
        tooLong_ = true;
        lineNumber_ = linesSeen_ + 1;
        line.clear();
        return Result::TooLong;
      }
      line.append(begin, n);
      pos_ += n;
      if (hit == stop) continue;
      ended = true;
      ++pos_;
      if (*hit == '\r') {
        if (pos_ == end_) Fill();
        if (pos_ < end_ && chunk_[pos_] == '\n') ++pos_;
      }
    }
    // A last line cut by a failing device is not a line.
    if (!ended && failed_) return Result::ReadError;
    if (!ended && !any) return Result::End;
    ++linesSeen_;
    if (line.empty()) continue;
    lineNumber_ = linesSeen_;
    return Result::Line;
  }
}

}  // namespace filterfile
