#pragma once
// Stream buffers that fail on cue, for the paths a full disk or a broken
// device takes.
#include <algorithm>
#include <ios>
#include <stdexcept>
#include <streambuf>
#include <string>

namespace filterfile::testing {

// Hands out `data` in blocks of `block` bytes, then fails the read (as a
// file buffer does on an I/O error) instead of reporting the end.
class BrokenReadBuffer : public std::streambuf {
 public:
  explicit BrokenReadBuffer(std::string data, size_t block = 65536)
      : data_(std::move(data)), block_(block) {}

 protected:
  int_type underflow() override {
    if (given_ >= data_.size()) throw std::ios_base::failure("device gone");
    size_t n = std::min(block_, data_.size() - given_);
    setg(data_.data() + given_, data_.data() + given_, data_.data() + given_ + n);
    given_ += n;
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::string data_;
  size_t block_;
  size_t given_ = 0;
};

// Accepts `room` bytes, then refuses every further byte.
class FullDiskBuffer : public std::streambuf {
 public:
  explicit FullDiskBuffer(size_t room) : room_(room) {}
  std::string written;

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    if (written.size() >= room_) return traits_type::eof();
    written += traits_type::to_char_type(c);
    return c;
  }

 private:
  size_t room_;
};

}  // namespace filterfile::testing
