#include "backup/RangeStream.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ios>

namespace backup {

RangeBuffer::RangeBuffer(int fd, uint64_t offset, uint64_t length)
    : fd_(fd), at_(offset), end_(offset + length), chunk_(64 * 1024) {}

RangeBuffer::int_type RangeBuffer::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  if (at_ >= end_) return traits_type::eof();
  const size_t want = static_cast<size_t>(std::min<uint64_t>(chunk_.size(), end_ - at_));
  ssize_t n;
  do {
    n = ::pread(fd_, chunk_.data(), want, static_cast<off_t>(at_));
  } while (n < 0 && errno == EINTR);
  // The stream turns this into badbit: the reader stops with a read error.
  if (n <= 0) throw std::ios_base::failure("backup records cannot be read");
  at_ += static_cast<uint64_t>(n);
  setg(chunk_.data(), chunk_.data(), chunk_.data() + n);
  return traits_type::to_int_type(*gptr());
}

}  // namespace backup
