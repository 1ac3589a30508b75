#include "cli/RunLog.h"

#include <fcntl.h>
#include <unistd.h>

#include "essbase/BesideProgram.h"

namespace cli {

AppendFileLog::AppendFileLog(const std::string& path) {
  if (!path.empty()) fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
}

AppendFileLog::~AppendFileLog() {
  if (fd_ >= 0) ::close(fd_);
}

bool AppendFileLog::WriteLine(std::string_view line) {
  if (fd_ < 0) return false;
  buffer_.assign(line);
  buffer_.append("\r\n");
  // A short write is not completed by a second one: that could split the line.
  ssize_t n = ::write(fd_, buffer_.data(), buffer_.size());
  return n == static_cast<ssize_t>(buffer_.size());
}

std::string LogPathBesideProgram() {
  return essbase::BesideProgram("Log.txt");
}

}  // namespace cli
