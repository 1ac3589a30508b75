#include "cli/RunLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ProgramFolder.h"

namespace cli {

AppendFileLog::AppendFileLog(const std::string& path) {
  // The log holds the command line and what the server said: its owner's only.
  if (!path.empty()) fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
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
  return platform::BesideProgram("Log.txt");
}

std::string LogPathInStateFolder(const char* xdgStateHome, const char* home) {
  std::string base;
  if (xdgStateHome && xdgStateHome[0] == '/')
    base = xdgStateHome;
  else if (home && home[0] == '/')
    base = std::string(home) + "/.local/state";
  else
    return {};
  return base + "/quorvel/Log.txt";
}

namespace {

// Creates the missing folders above `file`, each private to the user; an
// existing folder keeps its mode.
void CreateFoldersAbove(const std::string& file) {
  for (size_t slash = file.find('/', 1); slash != std::string::npos;
       slash = file.find('/', slash + 1))
    ::mkdir(file.substr(0, slash).c_str(), 0700);
}

}  // namespace

std::unique_ptr<AppendFileLog> OpenRunLog(const std::string& beside,
                                          const std::string& inStateFolder) {
  auto log = std::make_unique<AppendFileLog>(beside);
  if (log->isOpen()) return log;
  if (inStateFolder.empty()) return nullptr;
  CreateFoldersAbove(inStateFolder);
  log = std::make_unique<AppendFileLog>(inStateFolder);
  if (log->isOpen()) return log;
  return nullptr;
}

}  // namespace cli
