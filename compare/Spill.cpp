#include "compare/Spill.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace compare {

namespace {

constexpr size_t PendingLimit = 256 * 1024;
// A row's length and access before its text.
constexpr size_t HeaderSize = sizeof(uint32_t) + sizeof(int16_t);

std::string TemporaryPattern() {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (ec) folder = "/tmp";
  return (folder / "quorvel-compare-XXXXXX").string();
}

}  // namespace

Spill::Spill() {
  std::string pattern = TemporaryPattern();
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  ::unlink(pattern.c_str());
  pending_.reserve(PendingLimit);
}

Spill::~Spill() {
  if (fd_ >= 0) ::close(fd_);
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
  size_t done = 0;
  while (done < pending_.size()) {
    const ssize_t n = ::write(fd_, pending_.data() + done, pending_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = n < 0 ? errno : EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
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
    const ssize_t n =
        ::pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = n < 0 ? errno : EIO;
      return false;
    }
    done += static_cast<size_t>(n);
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
