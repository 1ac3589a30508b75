#include "filterfile/ExportFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "filterfile/Widen.h"

namespace filterfile {

namespace {

constexpr size_t kBuffer = 256 * 1024;

}  // namespace

FileEncoding EncodingOfFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return in ? ReadEncodingMark(in) : FileEncoding::Latin1;
}

ExportFile::ExportFile() : buffer_(kBuffer) {}

bool ExportFile::Open(const std::string& path, Mode mode) {
  path_ = path;
  const FileEncoding encoding =
      mode == Mode::Append ? EncodingOfFile(path) : FileEncoding::Latin1;
  out_.rdbuf()->pubsetbuf(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  errno = 0;
  // Opening for reading too is what keeps an append from creating the file.
  out_.open(path, mode == Mode::Append
                      ? std::ios::binary | std::ios::in | std::ios::out | std::ios::ate
                      : std::ios::binary | std::ios::out | std::ios::trunc);
  if (!out_.is_open()) {
    error_ = errno ? errno : EIO;
    return false;
  }
  records_ = std::make_unique<RecordWriter>(out_, encoding);
  records_->widen = [this] { return Widen(); };
  return true;
}

bool ExportFile::Widen() {
  errno = 0;
  out_.close();
  if (out_.fail()) {
    error_ = errno ? errno : EIO;
    return false;
  }
  const int from = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (from < 0 || ::fstat(from, &st) != 0) {
    error_ = errno;
    if (from >= 0) ::close(from);
    return false;
  }
  // Beside the file, so that the rename replaces it in one step.
  std::string temporary = path_ + ".quorvel-XXXXXX";
  const int to = ::mkostemp(temporary.data(), O_CLOEXEC);
  std::vector<uint64_t> none;
  uint64_t written = 0;
  int error = to < 0 ? errno : WidenLatin1(from, to, none, written);
  if (error == 0 && ::fchmod(to, st.st_mode & 07777) != 0) error = errno;
  if (to >= 0 && ::close(to) != 0 && error == 0) error = errno;
  ::close(from);
  if (error == 0 && ::rename(temporary.c_str(), path_.c_str()) != 0) error = errno;
  if (error != 0) {
    if (to >= 0) ::unlink(temporary.c_str());
    error_ = error;
    return false;
  }
  out_.clear();
  out_.open(path_, std::ios::binary | std::ios::out | std::ios::app);
  if (!out_.is_open()) {
    error_ = errno ? errno : EIO;
    return false;
  }
  return true;
}

bool ExportFile::Close() {
  errno = 0;
  out_.close();  // flushes: a full disk may only show here
  if (out_.fail() && error_ == 0) error_ = errno ? errno : EIO;
  return error_ == 0 && records_ && records_->result() == RecordWriter::Result::Written;
}

}  // namespace filterfile
