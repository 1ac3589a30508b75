#pragma once
// A file that appears under its name only once it is whole on disk: written
// under a temporary name in the target folder, flushed, fsync'd, closed, then
// renamed without replacing anything. Dropped unfinished, the temporary file
// is removed.
#include <cstdint>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace backup {

// A stream buffer over a descriptor that remembers the first failed write.
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int fd, uint64_t handedOver = 0);
  // Bytes handed to the buffer so far, written out or not.
  uint64_t handedOver() const { return handedOver_; }
  int error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  bool Drain();

  int fd_;
  std::vector<char> buffer_;
  uint64_t handedOver_ = 0;
  int error_ = 0;
};

class PendingFile {
 public:
  PendingFile() = default;
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Creates the temporary file (mode 0600) in `folder`.
  bool Open(const std::string& folder);
  std::ostream& stream() { return *stream_; }
  uint64_t handedOver() const { return buffer_ ? buffer_->handedOver() : 0; }

  // Turns the Latin-1 text written so far into UTF-8 behind the byte order
  // mark (a new temporary file replaces the old); each of `offsets`, a
  // position of the old text, is moved with it. The stream stays the same
  // object. False with error() set on a failure.
  bool WidenToUtf8(std::vector<uint64_t>& offsets);

  // Flushes, fsyncs and closes: true only when every byte reached the disk.
  bool Finish();
  // Renames the finished file to `path`, never replacing a file: false with
  // error() 0 when the name is taken, false with error() set on a failure.
  bool PlaceAs(const std::string& path);
  // Takes a placed file back to its temporary name (it is then removed with
  // this object), when its partner file could not be placed.
  void Unplace();

  // errno of the first failure, 0 when none.
  int error() const { return error_; }

 private:
  bool Fail(int error);

  std::string folder_;
  std::string path_;
  std::string placedAt_;
  int fd_ = -1;
  std::unique_ptr<DescriptorBuffer> buffer_;
  std::unique_ptr<std::ostream> stream_;
  bool placed_ = false;
  int error_ = 0;
};

// Creates the folder and its parents when missing (the folder itself 0700:
// backups are security definitions). errno on failure, else 0.
int MakeFolder(const std::string& folder);
// Makes renames in the folder durable.
void SyncFolder(const std::string& folder);
// Text of an errno value.
std::string ErrorText(int error);

}  // namespace backup
