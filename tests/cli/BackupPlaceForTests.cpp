// The driver tests import through the backup: their backups go to a folder
// of this process's own, never into the home of whoever runs the tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

class OwnStateHome : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quorvel-state-XXXXXX").string();
    if (mkdtemp(pattern.data())) {
      path_ = pattern;
      setenv("XDG_STATE_HOME", path_.c_str(), 1);
    }
  }
  void TearDown() override {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }

 private:
  std::string path_;
};

[[maybe_unused]] auto* const ownStateHome = ::testing::AddGlobalTestEnvironment(new OwnStateHome);

}  // namespace
