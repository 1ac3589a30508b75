#pragma once
// The run log "Log.txt" beside the program file, or in the user's state folder
// when the program's folder cannot be written (an installed program): appended
// to, created when missing, single-byte text, every line ending in CR LF.
#include <memory>
#include <string>
#include <string_view>

namespace cli {

class LogSink {
 public:
  virtual ~LogSink() = default;
  // Writes the line and its CR LF; false when it could not be written whole.
  virtual bool WriteLine(std::string_view line) = 0;
};

// Each line goes out in one write at the end of the file, so that runs
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

// ${XDG_STATE_HOME:-$HOME/.local/state}/quorvel/Log.txt from the values of
// those two variables (either may be null). A relative XDG_STATE_HOME is
// ignored, as the base directory rules require; empty when no absolute
// folder is left.
std::string LogPathInStateFolder(const char* xdgStateHome, const char* home);
// "Log.txt" in the state folder the environment names; empty when none.
std::string LogPathInStateFolder();

// The log at `beside` when it can be opened for appending, else the one at
// `inStateFolder`, its missing folders created (mode 0700); null when neither
// can be opened.
std::unique_ptr<AppendFileLog> OpenRunLog(const std::string& beside,
                                          const std::string& inStateFolder);

}  // namespace cli
