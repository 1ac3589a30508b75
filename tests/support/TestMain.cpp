// The main of every test program without a window.
#include <gtest/gtest.h>

#include "tests/support/IsolatedHome.h"

int main(int argc, char** argv) {
  const std::string home = support::IsolateHome();
  ::testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  support::RemoveIsolatedHome(home);
  return status;
}
