#include "backup/PendingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "filterfile/Widen.h"

namespace backup {

DescriptorBuffer::DescriptorBuffer(int fd, uint64_t handedOver)
    : fd_(fd), buffer_(64 * 1024), handedOver_(handedOver) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool DescriptorBuffer::Drain() {
  const char* at = pbase();
  while (error_ == 0 && at < pptr()) {
    const ssize_t n = ::write(fd_, at, static_cast<size_t>(pptr() - at));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = n < 0 ? errno : EIO;
      break;
    }
    at += n;
  }
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return error_ == 0;
}

DescriptorBuffer::int_type DescriptorBuffer::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  ++handedOver_;
  return c;
}

std::streamsize DescriptorBuffer::xsputn(const char* s, std::streamsize n) {
  std::streamsize done = 0;
  while (done < n) {
    if (pptr() == epptr() && !Drain()) break;
    const std::streamsize room = epptr() - pptr();
    const std::streamsize step = std::min(room, n - done);
    std::memcpy(pptr(), s + done, static_cast<size_t>(step));
    pbump(static_cast<int>(step));
    done += step;
  }
  handedOver_ += static_cast<uint64_t>(done);
  return done;
}

int DescriptorBuffer::sync() {
  return Drain() ? 0 : -1;
}

PendingFile::~PendingFile() {
  stream_.reset();
  buffer_.reset();
  if (fd_ >= 0) ::close(fd_);
  if (!placed_ && !path_.empty()) ::unlink(path_.c_str());
}

bool PendingFile::Fail(int error) {
  if (error_ == 0) error_ = error ? error : EIO;
  return false;
}

bool PendingFile::Open(const std::string& folder) {
  folder_ = folder;
  std::string pattern = folder + "/.pending-XXXXXX";
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) return Fail(errno);
  path_ = pattern;
  buffer_ = std::make_unique<DescriptorBuffer>(fd_);
  stream_ = std::make_unique<std::ostream>(buffer_.get());
  return true;
}

bool PendingFile::WidenToUtf8(std::vector<uint64_t>& offsets) {
  if (fd_ < 0) return Fail(EBADF);
  stream_->flush();
  if (buffer_->error() != 0) return Fail(buffer_->error());
  std::string pattern = folder_ + "/.pending-XXXXXX";
  const int to = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (to < 0) return Fail(errno);
  uint64_t written = 0;
  if (const int error = filterfile::WidenLatin1(fd_, to, offsets, written)) {
    ::close(to);
    ::unlink(pattern.c_str());
    return Fail(error);
  }
  ::close(fd_);
  ::unlink(path_.c_str());
  fd_ = to;
  path_ = pattern;
  auto buffer = std::make_unique<DescriptorBuffer>(fd_, written);
  stream_->rdbuf(buffer.get());
  buffer_ = std::move(buffer);
  return true;
}

bool PendingFile::Finish() {
  if (fd_ < 0) return Fail(EBADF);
  stream_->flush();
  if (buffer_->error() != 0) return Fail(buffer_->error());
  if (!stream_->good()) return Fail(EIO);
  if (::fsync(fd_) != 0) return Fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return Fail(errno);
  return true;
}

bool PendingFile::PlaceAs(const std::string& path) {
  if (path_.empty() || fd_ >= 0) return Fail(EBADF);
  if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
    placed_ = true;
    placedAt_ = path;
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) {
    const int error = errno;
    // A taken name is no failure of the file: the caller tries another.
    if (error == EEXIST) return false;
    return Fail(error);
  }
  // A file system without the no-replace rename: a hard link never replaces.
  if (::link(path_.c_str(), path.c_str()) != 0) {
    if (errno == EEXIST) return false;
    return Fail(errno);
  }
  ::unlink(path_.c_str());
  placed_ = true;
  placedAt_ = path;
  return true;
}

void PendingFile::Unplace() {
  if (!placed_) return;
  // The temporary name is free again: its file was just renamed away.
  if (::rename(placedAt_.c_str(), path_.c_str()) != 0) ::unlink(placedAt_.c_str());
  placed_ = false;
}

int MakeFolder(const std::string& folder) {
  if (folder.empty()) return ENOENT;
  std::error_code ec;
  const std::filesystem::path path(folder);
  std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) return ec.value();
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) return ENOTDIR;
  return 0;
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

std::string ErrorText(int error) {
  return std::strerror(error);
}

}  // namespace backup
