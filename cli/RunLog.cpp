#include "cli/RunLog.h"

#include <filesystem>

#include "platform/AppendFile.h"
#include "platform/Descriptor.h"
#include "platform/Folder.h"
#include "platform/Path.h"
#include "platform/ProgramFolder.h"
#include "platform/StateFolder.h"

namespace cli {

AppendFileLog::AppendFileLog(const std::string& path) {
  // The log holds the command line and what the server said: its owner's only.
  if (!path.empty()) fd_ = platform::OpenAppendFile(path);
}

AppendFileLog::~AppendFileLog() {
  if (fd_ >= 0) platform::CloseFile(fd_);
}

bool AppendFileLog::WriteLine(std::string_view line) {
  if (fd_ < 0) return false;
  buffer_.assign(line);
  buffer_.append("\r\n");
  // A short write is not completed by a second one: that could split the line.
  return platform::WriteInOne(fd_, buffer_);
}

std::string LogPathBesideProgram() {
  return platform::BesideProgram("Log.txt");
}

namespace {

std::string LogFileIn(const std::string& stateFolder) {
  // A relative folder would follow whatever folder the run started in.
  if (stateFolder.empty() || !platform::PathOf(stateFolder).is_absolute()) return {};
  return stateFolder + "/Log.txt";
}

}  // namespace

std::string LogPathInStateFolder(const char* xdgStateHome, const char* home) {
  return LogFileIn(platform::StateFolderFrom(xdgStateHome, home));
}

std::string LogPathInStateFolder() {
  return LogFileIn(platform::StateFolder());
}

std::unique_ptr<AppendFileLog> OpenRunLog(const std::string& beside,
                                          const std::string& inStateFolder) {
  auto log = std::make_unique<AppendFileLog>(beside);
  if (log->isOpen()) return log;
  if (inStateFolder.empty()) return nullptr;
  platform::MakePrivateFoldersAbove(inStateFolder);
  log = std::make_unique<AppendFileLog>(inStateFolder);
  if (log->isOpen()) return log;
  return nullptr;
}

}  // namespace cli
