#pragma once
// The run log "Log.txt" beside the program file: appended to, created when
// missing, single-byte text, every line ending in CR LF.
#include <string>
#include <string_view>

namespace cli {

class LogSink {
 public:
  virtual ~LogSink() = default;
  // Writes the line and its CR LF; false when it could not be written whole.
  virtual bool WriteLine(std::string_view line) = 0;
};

// Each line goes out in one write() on an O_APPEND descriptor, so that runs
// sharing the log never interleave inside a line.
class AppendFileLog final : public LogSink {
 public:
  explicit AppendFileLog(const std::string& path);
  ~AppendFileLog() override;
  AppendFileLog(const AppendFileLog&) = delete;
  AppendFileLog& operator=(const AppendFileLog&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  bool WriteLine(std::string_view line) override;

 private:
  int fd_ = -1;
  std::string buffer_;
};

// "Log.txt" in the folder of the running program file; empty when unknown.
std::string LogPathBesideProgram();

}  // namespace cli
