#pragma once
// An input stream over one byte range of a file: the records of one database
// in a backup. A read error, or a file shorter than the range, fails the
// stream (bad), never looks like its end.
#include <cstdint>
#include <istream>
#include <streambuf>
#include <string>
#include <vector>

namespace backup {

class RangeBuffer : public std::streambuf {
 public:
  RangeBuffer(int fd, uint64_t offset, uint64_t length);

 protected:
  int_type underflow() override;

 private:
  int fd_;
  uint64_t at_;
  uint64_t end_;
  std::vector<char> chunk_;
};

class RangeStream : public std::istream {
 public:
  RangeStream(int fd, uint64_t offset, uint64_t length)
      : std::istream(nullptr), buffer_(fd, offset, length) {
    rdbuf(&buffer_);
  }

 private:
  RangeBuffer buffer_;
};

}  // namespace backup
