#include "backup/RangeStream.h"

#include <algorithm>
#include <ios>

#include "platform/ReadAt.h"

namespace backup {

RangeBuffer::RangeBuffer(int fd, uint64_t offset, uint64_t length)
    : fd_(fd), at_(offset), end_(offset + length), chunk_(64 * 1024) {}

RangeBuffer::int_type RangeBuffer::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  if (at_ >= end_) return traits_type::eof();
  const size_t want = static_cast<size_t>(std::min<uint64_t>(chunk_.size(), end_ - at_));
  size_t n = 0;
  // The stream turns this into badbit: the reader stops with a read error.
  if (platform::ReadAt(fd_, chunk_.data(), want, at_, n) != 0 || n == 0)
    throw std::ios_base::failure("backup records cannot be read");
  at_ += n;
  setg(chunk_.data(), chunk_.data(), chunk_.data() + n);
  return traits_type::to_int_type(*gptr());
}

}  // namespace backup
