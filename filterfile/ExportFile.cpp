#include "filterfile/ExportFile.h"

#include <cerrno>

#include "filterfile/Widen.h"
#include "platform/Descriptor.h"
#include "platform/FileMode.h"
#include "platform/OutputFile.h"
#include "platform/Path.h"
#include "platform/Rename.h"
#include "platform/TemporaryFile.h"

namespace filterfile {

namespace {

constexpr size_t kBuffer = 256 * 1024;

}  // namespace

FileEncoding EncodingOfFile(const std::string& path) {
  std::ifstream in(platform::PathOf(path), std::ios::binary);
  return in ? ReadEncodingMark(in) : FileEncoding::Latin1;
}

ExportFile::ExportFile() : buffer_(kBuffer) {}

bool ExportFile::Open(const std::string& path, Mode mode) {
  path_ = path;
  const FileEncoding encoding = mode == Mode::Append ? EncodingOfFile(path) : FileEncoding::Latin1;
  // Opening for reading too is what keeps an append from creating the file.
  if (!OpenFile(mode == Mode::Append
                    ? std::ios::binary | std::ios::in | std::ios::out | std::ios::ate
                    : std::ios::binary | std::ios::out | std::ios::trunc))
    return false;
  records_ = std::make_unique<RecordWriter>(out_, encoding);
  records_->widen = [this] { return Widen(); };
  return true;
}

bool ExportFile::OpenFile(std::ios::openmode mode) {
  errno = 0;
  file_ = platform::OpenOutputFile(path_, mode, buffer_.data(), buffer_.size());
  if (!file_) {
    error_ = errno ? errno : EIO;
    return false;
  }
  out_.rdbuf(file_.get());
  return true;
}

bool ExportFile::Widen() {
  errno = 0;
  // Closing flushes: a full disk may only show here.
  if (!file_->close() || out_.fail()) {
    error_ = errno ? errno : EIO;
    return false;
  }
  int from = -1;
  if (const int error = platform::OpenForReading(path_, from)) {
    error_ = error;
    return false;
  }
  // Beside the file, so that the rename replaces it in one step.
  int to = -1;
  std::string temporary;
  std::vector<uint64_t> none;
  uint64_t written = 0;
  int error = platform::CreatePrivateFile(path_ + ".quorvel-", to, temporary);
  if (error == 0) error = WidenLatin1(from, to, none, written);
  // The new file takes the old one's place: it takes its permissions too.
  if (error == 0) error = platform::CopyFileMode(from, to);
  if (to >= 0) {
    const int closed = platform::CloseFile(to);
    if (error == 0) error = closed;
  }
  platform::CloseFile(from);
  if (error == 0) error = platform::RenameReplacing(temporary, path_);
  if (error != 0) {
    if (to >= 0) platform::RemoveFile(temporary);
    error_ = error;
    return false;
  }
  return OpenFile(std::ios::binary | std::ios::out | std::ios::app);
}

bool ExportFile::Close() {
  errno = 0;
  const bool closed =
      file_ && file_->close() != nullptr;  // flushes: a full disk may only show here
  if ((!closed || out_.fail()) && error_ == 0) error_ = errno ? errno : EIO;
  return error_ == 0 && records_ && records_->result() == RecordWriter::Result::Written;
}

}  // namespace filterfile
