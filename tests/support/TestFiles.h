#pragma once
// Files for tests: a private temporary folder, and reading and writing whole
// files byte for byte.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace support {

// A fresh folder per test, removed with everything in it at the end. path()
// is empty when none could be made.
class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "quorvel-test") {
#ifdef _WIN32
    std::error_code ec;
    const auto tmp = std::filesystem::temp_directory_path(ec);
    std::random_device random;
    for (int attempt = 0; !ec && path_.empty() && attempt < 100; ++attempt) {
      const auto dir = tmp / (prefix + "-" + std::to_string(random()));
      if (std::filesystem::create_directory(dir, ec)) path_ = dir.generic_string();
    }
#else
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
#endif
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

// The whole file; empty when it cannot be read.
inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace support
