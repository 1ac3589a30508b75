#pragma once
// Rows kept out of memory: an unnamed temporary file (removed from its
// folder as soon as it is made, so nothing is left behind however the
// program ends) that rows are appended to and read back from by byte range.
#include <cstdint>
#include <string_view>
#include <vector>

#include "compare/Definition.h"

namespace compare {

class Spill {
 public:
  Spill();
  ~Spill();
  Spill(const Spill&) = delete;
  Spill& operator=(const Spill&) = delete;

  // Where the next row goes.
  uint64_t size() const { return size_; }
  void Append(std::string_view text, int16_t access);
  // The rows stored in [offset, offset + length), their text in `bytes`.
  bool Read(uint64_t offset, uint64_t length, std::vector<char>& bytes, std::vector<Row>& rows);

  // errno of the first failure (also of making the file), 0 when none.
  int error() const { return error_; }

 private:
  bool Flush();

  int fd_ = -1;
  std::vector<char> pending_;  // appended, not yet written
  uint64_t size_ = 0;
  uint64_t written_ = 0;
  int error_ = 0;
};

}  // namespace compare
