#pragma once
// Doubles for the driver: a run log in memory and a clock that stands still.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/Clock.h"
#include "cli/RunLog.h"

namespace cli::testing {

class MemoryLog : public LogSink {
 public:
  std::string bytes;
  int failFromLine = -1;  // 0-based line number from which writes fail
  int lines = 0;
  bool WriteLine(std::string_view line) override {
    if (failFromLine >= 0 && lines >= failFromLine) return false;
    ++lines;
    bytes.append(line).append("\r\n");
    return true;
  }
};

class FixedClock : public Clock {
 public:
  LocalTime Now() override { return {2026, 3, 7, 13, 5, 9}; }
};

constexpr const char* FixedDateLine = "//Process starting at 3/7/2026 1:05:09 PM\r\n";

// A fresh directory per test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvelcl-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace cli::testing
