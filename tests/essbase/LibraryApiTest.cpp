#include <gtest/gtest.h>

#include <array>
#include <string>

#include "essbase/library/LibraryApi.h"

namespace essbase {
namespace {

TEST(LibraryApiMissing, EveryOperationReportsUnavailableInsteadOfCrashing) {
  LibraryApi api("libdoes-not-exist-here.so");
  EXPECT_FALSE(api.loaded());
  EXPECT_FALSE(api.loadError().empty());
  Handle instance = 77, context = 0;
  int16_t count = 0, access = 0, active = 0;
  EXPECT_EQ(api.EsbInit(ApiInitRecord(0x60000, "C:\\ESSBASE"), instance),
            ESB_STS_LIBRARY_UNAVAILABLE);
  EXPECT_EQ(instance, 77u);
  EXPECT_EQ(api.EsbLogin(0, "s", "u", "p", count, context), ESB_STS_LIBRARY_UNAVAILABLE);
  EXPECT_EQ(api.EsbListFilters(0, "a", "d", count), ESB_STS_LIBRARY_UNAVAILABLE);
  EXPECT_EQ(api.EsbGetFilter(0, "a", "d", "f", active, access), ESB_STS_LIBRARY_UNAVAILABLE);
  std::array<char, 8> row{};
  EXPECT_EQ(api.EsbGetFilterRow(0, row, access), ESB_STS_LIBRARY_UNAVAILABLE);
  EXPECT_EQ(api.EsbSetFilterRow(0, nullptr, 375), ESB_STS_LIBRARY_UNAVAILABLE);
  EXPECT_EQ(api.EsbLogout(0), ESB_STS_LIBRARY_UNAVAILABLE);
  EXPECT_EQ(api.EsbTerm(0), ESB_STS_LIBRARY_UNAVAILABLE);
  EXPECT_FALSE(api.SetLoginPrompt(nullptr, nullptr));
}

// A library that lacks one operation is as unusable as no library: the
// programs must not call through a null pointer.
TEST(LibraryApiMissing, LibraryWithoutTheOperationsIsRefused) {
  #ifdef _WIN32
  LibraryApi api("kernel32.dll");
#else
  LibraryApi api("libm.so.6");
#endif
  EXPECT_FALSE(api.loaded());
  EXPECT_NE(api.loadError().find("EsbInit"), std::string::npos);
  Handle instance = 0;
  EXPECT_EQ(api.EsbInit(ApiInitRecord(0x60000, "C:\\"), instance), ESB_STS_LIBRARY_UNAVAILABLE);
}

}  // namespace
}  // namespace essbase
