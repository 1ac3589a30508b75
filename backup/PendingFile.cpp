#include "backup/PendingFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <memory>

#include "filterfile/Widen.h"
#include "platform/Descriptor.h"
#include "platform/Folder.h"
#include "platform/Path.h"
#include "platform/Rename.h"
#include "platform/TemporaryFile.h"

namespace backup {

DescriptorBuffer::DescriptorBuffer(int fd, uint64_t handedOver)
    : fd_(fd), buffer_(64 * 1024), handedOver_(handedOver) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool DescriptorBuffer::Drain() {
  if (error_ == 0) error_ = platform::WriteAll(fd_, pbase(), static_cast<size_t>(pptr() - pbase()));
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
  if (fd_ >= 0) platform::CloseFile(fd_);
  if (!placed_ && !path_.empty()) platform::RemoveFile(path_);
}

bool PendingFile::Fail(int error) {
  if (error_ == 0) error_ = error ? error : EIO;
  return false;
}

bool PendingFile::Open(const std::string& folder) {
  folder_ = folder;
  if (const int error = platform::CreatePrivateFile(folder + "/.pending-", fd_, path_))
    return Fail(error);
  buffer_ = std::make_unique<DescriptorBuffer>(fd_);
  stream_ = std::make_unique<std::ostream>(buffer_.get());
  return true;
}

bool PendingFile::WidenToUtf8(std::vector<uint64_t>& offsets) {
  if (fd_ < 0) return Fail(EBADF);
  stream_->flush();
  if (buffer_->error() != 0) return Fail(buffer_->error());
  int to = -1;
  std::string path;
  if (const int error = platform::CreatePrivateFile(folder_ + "/.pending-", to, path))
    return Fail(error);
  uint64_t written = 0;
  if (const int error = filterfile::WidenLatin1(fd_, to, offsets, written)) {
    platform::CloseFile(to);
    platform::RemoveFile(path);
    return Fail(error);
  }
  platform::CloseFile(fd_);
  platform::RemoveFile(path_);
  fd_ = to;
  path_ = path;
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
  if (const int error = platform::SyncFile(fd_)) return Fail(error);
  const int fd = fd_;
  fd_ = -1;
  if (const int error = platform::CloseFile(fd)) return Fail(error);
  return true;
}

bool PendingFile::PlaceAs(const std::string& path) {
  if (path_.empty() || fd_ >= 0) return Fail(EBADF);
  const int error = platform::RenameNoReplace(path_, path);
  // A taken name is no failure of the file: the caller tries another.
  if (error == EEXIST) return false;
  if (error != 0) return Fail(error);
  placed_ = true;
  placedAt_ = path;
  return true;
}

void PendingFile::Unplace() {
  if (!placed_) return;
  // The temporary name is free again: its file was just renamed away.
  if (platform::RenameReplacing(placedAt_, path_) != 0) platform::RemoveFile(placedAt_);
  placed_ = false;
}

int MakeFolder(const std::string& folder) {
  if (folder.empty()) return ENOENT;
  std::error_code ec;
  const std::filesystem::path path = platform::PathOf(folder);
  std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) {
    // Windows' own codes where the C library has no errno for them.
    const std::error_condition as = ec.default_error_condition();
    return as.category() == std::generic_category() ? as.value() : EIO;
  }
  return platform::MakePrivateFolder(folder);
}

void SyncFolder(const std::string& folder) {
  platform::SyncFolder(folder);
}

std::string ErrorText(int error) {
  return std::strerror(error);
}

}  // namespace backup
