#include "compare/Spill.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/Descriptor.h"
#include "platform/ReadAt.h"
#include "platform/TemporaryFile.h"

namespace compare {

namespace {

constexpr size_t PendingLimit = 256 * 1024;
// A row's length and access before its text.
constexpr size_t HeaderSize = sizeof(uint32_t) + sizeof(int16_t);

}  // namespace

Spill::Spill() {
  error_ = platform::CreateUnnamedTemporaryFile("quorvel-compare-", fd_);
  if (error_ != 0) return;
  pending_.reserve(PendingLimit);
}

Spill::~Spill() {
  if (fd_ >= 0) platform::CloseFile(fd_);
}

void Spill::Append(std::string_view text, int16_t access) {
  if (error_ != 0) return;  // the comparison fails anyway: keep nothing
  char header[HeaderSize];
  const uint32_t length = static_cast<uint32_t>(text.size());
  std::memcpy(header, &length, sizeof length);
  std::memcpy(header + sizeof length, &access, sizeof access);
  pending_.insert(pending_.end(), header, header + HeaderSize);
  pending_.insert(pending_.end(), text.begin(), text.end());
  size_ += HeaderSize + text.size();
  if (pending_.size() >= PendingLimit) Flush();
}

bool Spill::Flush() {
  if (error_ != 0) return false;
  error_ = platform::WriteAll(fd_, pending_.data(), pending_.size());
  if (error_ != 0) return false;
  written_ += pending_.size();
  pending_.clear();
  return true;
}

bool Spill::Read(uint64_t offset, uint64_t length, std::vector<char>& bytes,
                 std::vector<Row>& rows) {
  rows.clear();
  if (offset + length > written_ && !Flush()) return false;
  bytes.resize(static_cast<size_t>(length));
  size_t done = 0;
  while (done < bytes.size()) {
    size_t n = 0;
    if (const int error =
            platform::ReadAt(fd_, bytes.data() + done, bytes.size() - done, offset + done, n)) {
      error_ = error;
      return false;
    }
    if (n == 0) {
      error_ = EIO;
      return false;
    }
    done += n;
  }
  for (size_t at = 0; at + HeaderSize <= bytes.size();) {
    uint32_t size = 0;
    Row row;
    std::memcpy(&size, bytes.data() + at, sizeof size);
    std::memcpy(&row.access, bytes.data() + at + sizeof size, sizeof row.access);
    at += HeaderSize;
    row.text = std::string_view(bytes.data() + at, size);
    at += size;
    rows.push_back(row);
  }
  return true;
}

}  // namespace compare
