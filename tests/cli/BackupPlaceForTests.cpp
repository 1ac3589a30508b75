// The driver tests import through the backup: their backups go to a folder
// of this process's own, never into the home of whoever runs the tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"

namespace {

class OwnStateHome : public ::testing::Environment {
 public:
  void SetUp() override {
    home_ = std::make_unique<support::TempDir>("quorvel-state");
    if (!home_->path().empty()) testing_support::SetEnv("XDG_STATE_HOME", home_->path().c_str());
  }
  void TearDown() override { home_.reset(); }

 private:
  std::unique_ptr<support::TempDir> home_;
};

[[maybe_unused]] auto* const ownStateHome = ::testing::AddGlobalTestEnvironment(new OwnStateHome);

}  // namespace
